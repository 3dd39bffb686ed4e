// 32-bit pictures drawn one pixel to one straight into the target image, and the draws that go
// through the painter instead: each must give the pixels Qt draws from an upright, opaque copy of
// the picture, in either row order, however the painter is placed and clipped.
#include "QtTestSupport.h"

#include "platform/qt/QtDeviceContext.h"

#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 30;

// Every pixel a colour of its own; the fourth byte 0, as in a block that was cleared and never
// given alpha.
QRgb Colour(int x, int row)
{
    return qRgb(x * 6, row * 8, (x * 3 + row * 5) % 256);
}

struct Picture {
    std::vector<uint8_t> bits;
    gdi::DibView view;
};

Picture MakePicture(bool topDown)
{
    Picture picture;
    picture.bits.assign(static_cast<std::size_t>(kWidth) * kHeight * 4, 0);
    for (int row = 0; row < kHeight; ++row) {
        uint8_t* pixel
            = picture.bits.data() + static_cast<std::size_t>(topDown ? row : kHeight - 1 - row) * kWidth * 4;
        for (int x = 0; x < kWidth; ++x, pixel += 4) {
            pixel[0] = static_cast<uint8_t>(qBlue(Colour(x, row)));
            pixel[1] = static_cast<uint8_t>(qGreen(Colour(x, row)));
            pixel[2] = static_cast<uint8_t>(qRed(Colour(x, row)));
        }
    }
    picture.view
        = { kWidth, topDown ? -kHeight : kHeight, 32, nullptr, 0, picture.bits.data(), picture.bits.size() };
    return picture;
}

// The picture as Qt draws it best: upright and opaque.
QImage Upright()
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int row = 0; row < kHeight; ++row)
        for (int x = 0; x < kWidth; ++x)
            image.setPixel(x, row, Colour(x, row));
    return image;
}

// The page laid over a transparent picture, as a window system lays a window over what lies below:
// a pixel whose fourth byte is not 0xFF lets the background through.
QImage OverTransparent(const QImage& page)
{
    QImage composed(page.size(), QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::transparent);
    QPainter painter(&composed);
    painter.drawImage(0, 0, page);
    return composed;
}

struct Draw {
    const char* name;
    QRect device; // x, y, width, height in device pixels; a negative height turns the picture over
    QRect source; // x, y counted up from the bottom row, as StretchDIBits counts them
    QPoint move; // the caller's painter moved by this
    QRect clip; // the caller's painter clipped to this, when not empty
    int stretchMode = gdi::COLORONCOLOR;
};

const Draw kDraws[] = {
    { "OneToOne", { 5, 7, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
    { "PartlyAboveAndLeft", { -10, -5, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
    { "PartlyBelowAndRight", { 45, 50, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
    { "PartOfThePicture", { 8, 9, 20, 10 }, { 3, 4, 20, 10 }, {}, {} },
    { "TurnedOver", { 5, 7 + kHeight, kWidth, -kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
    { "MirroredAcross", { 5 + kWidth, 7, -kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
    { "PainterMoved", { 5, 7, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, { 13, -4 }, {} },
    { "PainterClipped", { 5, 7, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, { 10, 12, 17, 9 } },
    { "Halftone", { 5, 7, kWidth, kHeight }, { 0, 0, kWidth, kHeight }, {}, {}, gdi::HALFTONE },
    { "Stretched", { 5, 7, 2 * kWidth, 2 * kHeight }, { 0, 0, kWidth, kHeight }, {}, {} },
};

struct Case {
    Draw draw;
    bool topDown;
    QImage::Format page;
    friend void PrintTo(const Case& c, std::ostream* os)
    {
        *os << c.draw.name << (c.topDown ? " top-down" : " bottom-up") << " on format " << c.page;
    }
};

class QtStraightBlit : public ::testing::TestWithParam<Case> { };

TEST_P(QtStraightBlit, DrawsWhatQtDrawsFromAnUprightOpaqueCopy)
{
    qttest::EnsureApplication();
    const auto& [draw, topDown, format] = GetParam();
    const Picture picture = MakePicture(topDown);
    QImage page(90, 80, format);
    page.fill(Qt::white);
    QImage expected = page.copy();
    {
        QPainter painter(&page);
        painter.translate(draw.move);
        if (!draw.clip.isEmpty())
            painter.setClipRect(draw.clip);
        gdi::QtDeviceContext dc(painter, false);
        dc.SetStretchBltMode(draw.stretchMode);
        const QRect& d = draw.device;
        const QRect& s = draw.source;
        dc.StretchDIBits(d.x(), d.y(), d.width(), d.height(), s.x(), s.y(), s.width(), s.height(),
            picture.view, gdi::SRCCOPY);
    }
    {
        QPainter painter(&expected);
        painter.translate(draw.move);
        if (!draw.clip.isEmpty())
            painter.setClipRect(draw.clip);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, draw.stretchMode == gdi::HALFTONE);
        const QRect& d = draw.device;
        const QRect& s = draw.source;
        const QImage part = Upright().copy(s.x(), kHeight - s.y() - s.height(), s.width(), s.height());
        const QRect target(std::min(d.x(), d.x() + d.width()), std::min(d.y(), d.y() + d.height()),
            std::abs(d.width()), std::abs(d.height()));
        painter.drawImage(target, part.mirrored(d.width() < 0, d.height() < 0));
    }
    EXPECT_EQ(page, expected);
    EXPECT_EQ(OverTransparent(page), OverTransparent(expected));
}

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    for (const Draw& draw : kDraws)
        for (const bool topDown : { false, true })
            cases.push_back({ draw, topDown, QImage::Format_RGB32 });
    cases.push_back({ kDraws[0], false, QImage::Format_ARGB32_Premultiplied });
    cases.push_back({ kDraws[0], true, QImage::Format_ARGB32 });
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Draws, QtStraightBlit, ::testing::ValuesIn(Cases()), [](const auto& info) {
    const Case& c = info.param;
    return std::string(c.draw.name) + (c.topDown ? "TopDown" : "BottomUp")
        + (c.page == QImage::Format_RGB32         ? ""
                : c.page == QImage::Format_ARGB32 ? "OnArgb"
                                                  : "OnPremultiplied");
});

// A widget that draws the picture at its top left corner in its paint event.
class PictureWidget : public QWidget {
public:
    explicit PictureWidget(const gdi::DibView& view)
        : view_(view)
    {
        resize(kWidth, kHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        gdi::QtDeviceContext dc(*this);
        dc.StretchDIBits(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, view_, gdi::SRCCOPY);
    }

private:
    gdi::DibView view_;
};

// A paint event is restricted to the region being painted, and moved to where the widget lies in
// its target: nothing lands outside the region, nor in the wrong place.
TEST(QtStraightBlit, WidgetPaintsOnlyTheRegionItIsAskedFor)
{
    qttest::EnsureApplication();
    const Picture picture = MakePicture(false);
    PictureWidget widget(picture.view);
    QImage page(90, 80, QImage::Format_RGB32);
    page.fill(Qt::white);
    const QPoint offset(7, 5);
    const QRect region(10, 10, 15, 8);
    widget.render(&page, offset, QRegion(region), QWidget::DrawChildren);
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            // The region's top left corner lands at the offset.
            const QPoint at = QPoint(x, y) - offset + region.topLeft();
            const QRgb want = region.contains(at) ? Colour(at.x(), at.y()) : qRgb(255, 255, 255);
            ASSERT_EQ(page.pixel(x, y), want) << x << "," << y;
        }
}

} // namespace
