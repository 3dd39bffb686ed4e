// Repainting the portrait layout on a 1600 x 1000 view at zoom-to-fit, with a 6000 x 4000
// photograph in its image unit, against drawing one prepared 1600 x 1000 picture onto the same
// device (a plain blit), in the same run, and both against Qt drawing a prepared window-sized image
// directly (DirectDrawImage). The plain blit's rows are stored bottom row first, as the library
// keeps them; the device copies them into the target image in that order. Goals: the plain blit within 1.2
// times the direct draw, and a repaint from the cached display copy at most 1.2 times it. The first paint
// after loading makes the copy and may cost more. For comparison: drawing the image unit as the first design
// did, copying and turning the whole photograph for every paint.
#include <benchmark/benchmark.h>

#include "BenchApplication.h"

#include <QImage>
#include <QPainter>

#include <map>
#include <memory>
#include <string>

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/PageDrawing.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "model/Layout.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/win/AppContext.h"

namespace {

constexpr int kViewWidth = 1600;
constexpr int kViewHeight = 1000;
constexpr char kPhotoPath[] = "portrait-6000x4000.jpg";

// A photograph-sized picture with smooth gradients, made once.
std::shared_ptr<Pellimar::DeviceIndepBitmap> Photo()
{
    static const auto photo = [] {
        auto picture = std::make_shared<Pellimar::DeviceIndepBitmap>();
        picture->CreateImage(6000, 4000, 32, false, false, 300);
        const PLWinBmp& bmp = *picture->GetBitmap();
        for (int y = 0; y < 4000; ++y) {
            PLPixel32* row = bmp.GetRow32(y);
            for (int x = 0; x < 6000; ++x)
                row[x].Set(static_cast<uint8_t>(x / 24), static_cast<uint8_t>(y / 16),
                    static_cast<uint8_t>((x + y) / 40));
        }
        return picture;
    }();
    return photo;
}

class MemoryPictures : public PictureSource {
public:
    bool Contains(const std::string& path) override { return path == kPhotoPath; }
    Picture GetImage(const std::string& path, ImageResult& result) override
    {
        result = {};
        return path == kPhotoPath ? Photo() : Picture {};
    }
    void LoadSampleImages() override { }
};

// The view: the portrait layout, fitted to the client height as zoom-to-fit does.
struct View {
    View()
    {
        EnsureGuiApplication();
        image.setDotsPerMeterX(3780); // 96 dots per inch
        image.setDotsPerMeterY(3780);
        image.fill(Qt::white);
        content.portraitSamplePath = kPhotoPath;
        content.reference = kSampleReference;
        gdi::QtDeviceContext dc(image);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        win::SIZE client { kViewWidth, kViewHeight };
        dc.DPtoLP(&client);
        const PaperSpecs& paper = layout.GetPaper();
        zoom = static_cast<double>(-client.cy) / paper.GetPaperHeight();
        if (client.cx < paper.GetPaperWidth() * zoom)
            zoom = static_cast<double>(client.cx) / paper.GetPaperWidth();
    }

    void Paint()
    {
        gdi::QtDeviceContext dc(image);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        const win::SIZE page { static_cast<int>(layout.GetPaper().GetPaperWidth() * zoom * 96 / 254),
            static_cast<int>(layout.GetPaper().GetPaperHeight() * zoom * 96 / 254) };
        DrawPage(dc, { layout, content, pictures, copies, zoom, page, { kViewWidth, kViewHeight }, nullptr });
    }

    QImage image { kViewWidth, kViewHeight, QImage::Format_RGB32 };
    Layout layout;
    PageContent content;
    MemoryPictures pictures;
    DisplayCopyCache copies;
    double zoom = 1.0;
};

void RepaintCached(benchmark::State& state)
{
    View view;
    view.Paint(); // the display copy is made here
    for (auto _ : state)
        view.Paint();
    state.counters["copies"] = static_cast<double>(view.copies.CopiesMade());
}

void FirstPaintAfterLoading(benchmark::State& state)
{
    View view;
    for (auto _ : state) {
        view.copies.Clear();
        view.Paint();
    }
}

void PlainBlit(benchmark::State& state)
{
    EnsureGuiApplication();
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    PLWinBmp prepared;
    prepared.Create(kViewWidth, kViewHeight, 32, false, false);
    for (auto _ : state) {
        gdi::QtDeviceContext dc(image);
        prepared.StretchDraw(dc, 0, 0, kViewWidth, kViewHeight);
    }
}

// What the plain blit and a repaint are measured against: Qt drawing a prepared window-sized image
// directly, with a painter begun and ended each time as the device does.
void DirectDrawImage(benchmark::State& state)
{
    EnsureGuiApplication();
    QImage image(kViewWidth, kViewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QImage prepared(kViewWidth, kViewHeight, QImage::Format_RGB32);
    prepared.fill(Qt::black);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.drawImage(QRect(0, 0, kViewWidth, kViewHeight), prepared);
    }
}

// Ways Qt itself offers to draw the same bottom-up rows upright, for comparison with the plain blit
// (each gives the plain blit's pixels): the painter turning them over through its transform (Qt
// leaves its row copy for a per-pixel scaler), one draw call per row, and a mirrored copy drawn
// upright (the copy alone, without the RGB32 conversion that sets the fourth byte).
class BottomUpRows {
public:
    BottomUpRows()
        : rows_(kViewWidth, kViewHeight, QImage::Format_RGB32)
    {
        EnsureGuiApplication();
        target_.fill(Qt::white);
        rows_.fill(Qt::black);
    }
    template <typename Draw> void Run(benchmark::State& state, Draw draw)
    {
        for (auto _ : state) {
            QPainter painter(&target_);
            draw(painter, rows_);
        }
    }

private:
    QImage target_ { kViewWidth, kViewHeight, QImage::Format_RGB32 };
    QImage rows_;
};

void BottomUpThroughPainterFlip(benchmark::State& state)
{
    BottomUpRows().Run(state, [](QPainter& painter, const QImage& rows) {
        painter.translate(0, kViewHeight);
        painter.scale(1, -1);
        painter.drawImage(QRect(0, 0, kViewWidth, kViewHeight), rows);
    });
}

void BottomUpOneDrawPerRow(benchmark::State& state)
{
    BottomUpRows().Run(state, [](QPainter& painter, const QImage& rows) {
        for (int y = 0; y < kViewHeight; ++y)
            painter.drawImage(QPointF(0, y), rows, QRectF(0, kViewHeight - 1 - y, kViewWidth, 1));
    });
}

void BottomUpMirroredCopy(benchmark::State& state)
{
    BottomUpRows().Run(state, [](QPainter& painter, const QImage& rows) {
        painter.drawImage(QRect(0, 0, kViewWidth, kViewHeight), rows.mirrored(false, true));
    });
}

// The image unit as first designed: a deep copy of the photograph, turned, stretched on every paint.
void ImageUnitCopiedAndTurnedEveryPaint(benchmark::State& state)
{
    View view;
    for (auto _ : state) {
        gdi::QtDeviceContext dc(view.image);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        Pellimar::DeviceIndepBitmap copy(*Photo());
        copy.Rotate(3);
        copy.GetBitmap()->StretchDraw(
            dc, 120, -160, static_cast<int>(520 * view.zoom), static_cast<int>(-780 * view.zoom));
    }
}

} // namespace

BENCHMARK(DirectDrawImage)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainBlit)->Unit(benchmark::kMillisecond);
BENCHMARK(BottomUpThroughPainterFlip)->Unit(benchmark::kMillisecond);
BENCHMARK(BottomUpOneDrawPerRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BottomUpMirroredCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(RepaintCached)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstPaintAfterLoading)->Unit(benchmark::kMillisecond);
BENCHMARK(ImageUnitCopiedAndTurnedEveryPaint)->Unit(benchmark::kMillisecond);
