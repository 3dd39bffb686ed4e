// The default portrait, group and combined layouts drawn with the sample photographs on the Qt
// device, on screen at zoom 1 and on a 300 dpi printer page, saved as PNG for a person to look at;
// a few pixels prove the placement of the image units, the barcode and the overprint.
#include "QtTestSupport.h"

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/ImageUnitPainter.h"
#include "app/view/PageDrawing.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/ImageCache.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"
#include "model/PackTemplateFile.h"
#include "model/PacksCollection.h"
#include "model/ProductCatalog.h"
#include "model/ProductCatalogFile.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/win/AppContext.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <utility>

namespace {

std::string SamplePath(const char* file)
{
    return (std::filesystem::path(ORVANEL_TEST_DATA).parent_path().parent_path() / "data" / file).string();
}

bool Red(QRgb p)
{
    return qRed(p) > 150 && qGreen(p) < 110 && qBlue(p) < 110;
}

bool Dark(QRgb p)
{
    return qGray(p) < 80;
}

bool White(QRgb p)
{
    return qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245;
}

struct LayoutCase {
    const char* name;
    int32_t type;
    const char* image; // the image unit whose placement is checked
    const char* packs; // the packs unit whose first row is checked
    win::POINT barcodeBar; // a layout point inside a wide bar of the start character
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }
};

// The start character's first wide bar runs from 20.4 to 30.6 units right of the barcode anchor.
const LayoutCase kLayouts[] = {
    { "portrait", 0, "PImage", "PPacks", { 775, 252 } },
    { "group", 1, "GImage", "GPacks", { 175, 1402 } },
    { "combined", 2, "CGImage", "CGPacks", { 775, 252 } },
};

class QtPageDrawing : public ::testing::TestWithParam<std::tuple<LayoutCase, bool>> {
protected:
    void SetUp() override
    {
        qttest::EnsureApplication();
        win::AppContext::Instance().Reset();
        GetImageCache().RestoreInitialState();
        content.portraitSamplePath = SamplePath("PortraitSample.jpg");
        content.groupSamplePath = SamplePath("GroupSample.jpg");
        content.reference = kSampleReference;
        content.extraTexts[0] = "Orvanel Portrait Studio";
        ResetGlobalProductCatalog();
        ASSERT_EQ(ReadProductCatalogFile(SamplePath("ProductCatalog.csv"), GlobalProductCatalog()),
            CatalogFileStatus::read);
        ASSERT_EQ(ReadPackTemplateFile(SamplePath("Packs.csv"), packs), PackTemplateStatus::read);
    }
    void TearDown() override
    {
        ResetGlobalProductCatalog();
        GetImageCache().RestoreInitialState();
        win::AppContext::Instance().Reset();
    }

    // Layout point to image pixel through the drawing's converter and the device's mapping.
    static QPoint Pixel(const gdi::DeviceContext& dc, const LayoutConverter& converter, win::POINT point)
    {
        converter.ToDevice(point);
        dc.LPtoDP(&point);
        return { point.x, point.y };
    }

    PageContent content;
    DisplayCopyCache copies;
    PacksCollection packs;
};

TEST_P(QtPageDrawing, SamplePageShowsPictureBarcodeAndOverprintInPlace)
{
    const auto& [c, printing] = GetParam();
    Layout layout;
    layout.SetLayoutType(c.type);
    // The group layout is laid out across an A4 sheet on its side.
    const bool landscape = c.type == 1;
    if (landscape) {
        layout.GetPaper().SelectPaper(1);
        layout.GetPaper().SetPortrait(false);
    }
    layout.SetOverprintCopyright(true);
    layout.SetOverprintColour("FF0000");
    // As the document does on loading: each packs unit repeats once per pack of its kind.
    uint32_t groupPacks = 0;
    for (std::size_t i = 0; i < packs.GetPackCount(); ++i)
        groupPacks += packs.PackHasGroupProduct(i);
    for (const char* name : { "PPacks", "GPacks", "CGPacks" }) {
        if (LayoutUnit* unit = layout.GetRootUnit()->FindByName(name))
            unit->SetRepeatCount(
                name[0] == 'P' ? static_cast<uint32_t>(packs.GetPackCount()) - groupPacks : groupPacks);
    }
    CachePictureSource pictures(GetImageCache(), [this] {
        ImageResult result;
        GetImageCache().GetImage(content.portraitSamplePath, result);
        GetImageCache().GetImage(content.groupSamplePath, result);
    });

    // Screen: 96 dpi, a client area a little larger than the page at zoom 1 (794 x 1123 pixels).
    // Printer: the printable area of A4 with 30 margins at 300 dpi.
    const QSize size = printing ? QSize(2409, 3437) : QSize(900, 1200);
    const QSize client = landscape ? size.transposed() : size;
    QImage image = qttest::WhiteImage(client.width(), client.height(), printing ? 300 : 96);
    const win::SIZE page = landscape ? win::SIZE { 1123, 794 } : win::SIZE { 794, 1123 };
    LayoutConverter converter;
    QPainter painter(&image);
    gdi::QtDeviceContext dc(painter, printing);
    dc.SetMapMode(gdi::MM_LOMETRIC);
    converter = DrawPage(dc,
        { layout, content, pictures, copies, 1.0, page, { client.width(), client.height() }, nullptr,
            &packs });
    painter.end();
    const std::string file
        = std::string("page-") + c.name + (printing ? "-printer-300dpi.png" : "-screen-zoom1.png");
    ASSERT_TRUE(image.save(QString::fromStdString(qttest::OutputPath(file).string())));

    // The picture fills its fitted rectangle, centred in the unit's box, and no more.
    const LayoutUnit& unit = *layout.GetRootUnit()->FindByName(c.image);
    const LayoutBox box = ImageUnitBox(unit);
    const QPoint centre
        = Pixel(dc, converter, { (box.left + box.right) / 2, (box.top + box.bottom) / 2 + 60 });
    EXPECT_FALSE(White(image.pixel(centre))) << "picture centre " << centre.x() << ", " << centre.y();
    // Portrait: 520 x 780 from x + 55 across; the group's pictures lie 780 x 520, 55 down (CGImage)
    // or fill a wider box (GImage 1267 x 680: 1020 x 680 from x + 123).
    const int inset = c.type == 1 ? 123 : 55;
    const bool across = std::string(c.image) != "CGImage";
    const win::POINT inside = across ? win::POINT { box.left + inset + 8, box.top + 8 }
                                     : win::POINT { box.left + 8, box.top + inset + 8 };
    const win::POINT outside = across ? win::POINT { box.left + inset - 8, box.top + 8 }
                                      : win::POINT { box.left + 8, box.top + inset - 8 };
    EXPECT_FALSE(White(image.pixel(Pixel(dc, converter, inside))));
    EXPECT_TRUE(White(image.pixel(Pixel(dc, converter, outside))));
    // The barcode's start character.
    EXPECT_TRUE(Dark(image.pixel(Pixel(dc, converter, c.barcodeBar))));
    // The overprint: the diagonal crosses the box's centre, the word fills the top strip.
    const QPoint diagonal = Pixel(dc, converter, { (box.left + box.right) / 2, (box.top + box.bottom) / 2 });
    EXPECT_TRUE(qttest::InkBounds(image, QRect(diagonal - QPoint(2, 2), QSize(5, 5)), Red).isValid());
    const QPoint stripTopLeft = Pixel(dc, converter, { box.left, box.top });
    const QPoint stripBottomRight = Pixel(dc, converter, { box.right, box.top + (box.bottom - box.top) / 5 });
    EXPECT_TRUE(qttest::InkBounds(image, QRect(stripTopLeft, stripBottomRight), Red).isValid());
    // The first pack's description: text within a line's height below the packs unit's anchor.
    const win::POINT row = layout.GetRootUnit()->FindByName(c.packs)->GetAbsolutePosition(0);
    const QRect firstRow(Pixel(dc, converter, row), Pixel(dc, converter, { row.x + 400, row.y + 40 }));
    EXPECT_TRUE(qttest::InkBounds(image, firstRow, Dark).isValid());
    if (!printing) {
        EXPECT_EQ(image.pixel(2, 2), qRgb(214, 211, 206)); // the surround
    }
    // Every shipped description ends before the prices begin: the widest description the drawing
    // measured against the widest price, right-aligned on the price unit's anchor.
    const std::pair<const char*, const char*> columns[]
        = { { "PDescription", "PPrice" }, { "GDescription", "GPrice" }, { "CGDescription", "CGPrice" } };
    for (const auto& [descriptionName, priceName] : columns) {
        const LayoutUnit* description = layout.GetRootUnit()->FindByName(descriptionName);
        const LayoutUnit* price = layout.GetRootUnit()->FindByName(priceName);
        if (description == nullptr || price == nullptr)
            continue;
        const int32_t descriptionEnd = description->GetAbsolutePosition(0).x + description->GetItemSize().cx;
        const int32_t priceStart = price->GetAbsolutePosition(0).x - price->GetItemSize().cx;
        EXPECT_LT(descriptionEnd, priceStart) << descriptionName << " runs into " << priceName;
    }
}

INSTANTIATE_TEST_SUITE_P(DefaultLayouts, QtPageDrawing,
    ::testing::Combine(::testing::ValuesIn(kLayouts), ::testing::Bool()), [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_printer" : "_screen");
    });

// A selected text about 11 pixels high stays readable and its frame shows over dark and light
// alike: the frame is a band 3 pixels wide inside the unit's rectangle, every other pixel of it
// inverted, and the unit's own pixels show between.
class QtSelectionFrame : public ::testing::TestWithParam<bool> { };

TEST_P(QtSelectionFrame, ASmallSelectedTextShowsThroughItsFrameOverDarkAndLight)
{
    const bool dark = GetParam();
    qttest::EnsureApplication();
    win::AppContext::Instance().Reset();
    Layout layout;
    layout.SetLayoutType(3); // the extra texts alone
    LayoutUnit& text = *layout.GetRootUnit()->FindByName("ExtraTxt1");
    for (int n = 2; n <= 8; ++n)
        layout.GetRootUnit()->FindByName("ExtraTxt" + std::to_string(n))->SetVisible(false);
    text.SetPosition({ 300, 400 });
    text.SetFontSize(70);
    PageContent content;
    content.extraTexts[0] = "Orvanel Portrait Studio, 12 Mill Lane";
    CachePictureSource pictures(GetImageCache(), [] {});
    DisplayCopyCache copies;
    const auto draw = [&](const LayoutUnit* selected, QImage& image) {
        QPainter painter(&image);
        gdi::QtDeviceContext dc(painter, false);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        const LayoutConverter converter = DrawPage(
            dc, { layout, content, pictures, copies, 1.0, { 794, 1123 }, { 794, 1123 }, selected });
        win::RECT frame = text.GetBounds();
        converter.ToDeviceRect(frame);
        dc.LPtoDP(&frame);
        return QRect(QPoint(frame.left, frame.top), QPoint(frame.right - 1, frame.bottom - 1));
    };
    QImage plain = qttest::WhiteImage(794, 1123, 96);
    if (dark)
        plain.fill(Qt::black);
    QImage selected = plain;
    draw(nullptr, plain);
    const QRect frame = draw(&text, selected);
    const QRect around = frame.adjusted(-12, -12, 12, 12);
    selected.copy(around)
        .scaled(around.size() * 6)
        .save(QString::fromStdString(
            qttest::OutputPath(dark ? "selection-small-text-dark-x6.png" : "selection-small-text-x6.png")
                .string()));
    ASSERT_GE(frame.height(), 10);
    ASSERT_LE(frame.height(), 13);

    int between = 0;
    int shown = 0;
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        for (int x = frame.left(); x <= frame.right(); ++x) {
            const bool inBand
                = !frame.adjusted(kSelectionBorder, kSelectionBorder, -kSelectionBorder, -kSelectionBorder)
                       .contains(x, y);
            const QRgb now = selected.pixel(x, y);
            if (!inBand) {
                ASSERT_EQ(now, plain.pixel(x, y)) << "inside the band at " << x << ", " << y;
                continue;
            }
            // Every other pixel is inverted; the others are the unit's own.
            if ((x + y) % 2 == 1) {
                EXPECT_EQ(now, plain.pixel(x, y) ^ 0x00FFFFFFu) << x << ", " << y;
            } else {
                ++between;
                shown += now == plain.pixel(x, y);
            }
        }
    }
    EXPECT_GT(between, 0);
    EXPECT_EQ(shown, between) << "the unit's own pixels between the dots";
    // Nothing of the frame lies outside the unit's rectangle.
    const QRect outside = frame.adjusted(-1, -1, 1, 1);
    for (int x = outside.left(); x <= outside.right(); ++x)
        for (const int y : { outside.top(), outside.bottom() })
            EXPECT_EQ(selected.pixel(x, y), plain.pixel(x, y)) << x << ", " << y;
    for (int y = outside.top(); y <= outside.bottom(); ++y)
        for (const int x : { outside.left(), outside.right() })
            EXPECT_EQ(selected.pixel(x, y), plain.pixel(x, y)) << x << ", " << y;
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, QtSelectionFrame, ::testing::Bool(),
    [](const auto& info) { return std::string(info.param ? "over_black" : "over_white"); });

// The display copy shows exactly what stretching the whole turned photograph shows: each copy
// pixel is the photograph's pixel that the device would have picked.
TEST(QtDisplayCopy, ShowsWhatTheTurnedPhotographStretchedByTheDeviceShows)
{
    qttest::EnsureApplication();
    GetImageCache().RestoreInitialState();
    ImageResult result;
    const auto picture = GetImageCache().GetImage(SamplePath("PortraitSample.jpg"), result);
    ASSERT_TRUE(picture);
    Pellimar::DeviceIndepBitmap turned(*picture);
    ASSERT_TRUE(turned.Rotate(3));
    GetImageCache().RestoreInitialState();
    struct Size {
        int width, height; // logical units, 0.1 mm
    };
    for (const Size size : { Size { 529, 794 }, Size { 500, 777 }, Size { 613, 901 } }) {
        DisplayCopyCache copies;
        QImage viaCopy = qttest::WhiteImage(300, 420, 96);
        QImage viaWhole = viaCopy;
        for (QImage* target : { &viaCopy, &viaWhole }) {
            gdi::QtDeviceContext dc(*target);
            dc.SetMapMode(gdi::MM_LOMETRIC);
            dc.SetStretchBltMode(gdi::COLORONCOLOR);
            win::POINT corners[2] = { { 100, -100 }, { 100 + size.width, -100 - size.height } };
            dc.LPtoDP(corners, 2);
            const PLWinBmp& bitmap = target == &viaCopy
                ? *copies.Get(picture, 3, corners[1].x - corners[0].x, corners[1].y - corners[0].y)
                : *turned.GetBitmap();
            bitmap.StretchDraw(dc, 100, -100, size.width, -size.height);
        }
        int differing = 0;
        for (int y = 0; y < viaCopy.height(); ++y)
            for (int x = 0; x < viaCopy.width(); ++x)
                differing += viaCopy.pixel(x, y) != viaWhole.pixel(x, y);
        EXPECT_EQ(differing, 0) << size.width << " x " << size.height;
    }
}

} // namespace
