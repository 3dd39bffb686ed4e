#include "QtTestSupport.h"
#include "app/view/Code39TestDecoder.h"

#include "app/view/BarcodeUnitPainter.h"
#include "model/LayoutUnit.h"
#include "platform/qt/QtDeviceContext.h"

#include <gtest/gtest.h>

namespace {

using code39test::Bar;

bool Dark(QRgb p)
{
    return qGray(p) < 128;
}

// Bars met along a scan line from `from`, stepping by (dx, dy), as positions along the line.
std::vector<Bar> ScanBars(const QImage& image, QPoint from, int dx, int dy)
{
    std::vector<Bar> bars;
    bool inBar = false;
    int64_t start = 0;
    int64_t i = 0;
    for (QPoint p = from; image.rect().contains(p); p += QPoint(dx, dy), ++i) {
        const bool dark = Dark(image.pixel(p));
        if (dark && !inBar)
            start = i;
        if (!dark && inBar)
            bars.push_back({ start, i });
        inBar = dark;
    }
    if (inBar)
        bars.push_back({ start, i });
    return bars;
}

struct Orientation {
    int turns;
    QSize image;
    QPoint anchor; // layout units = pixels at 254 dpi and scale 1
    QRect bars; // where the bars must lie: the turned unit box short of the last narrow module
    QPoint scanFrom; // a scan line through the bars, read in the code's direction
    int dx, dy;
    friend void PrintTo(const Orientation& o, std::ostream* os) { *os << o.turns << " quarter turns"; }
};

// The 600 x 145 unit of the default layouts; the code is 595 units long (175 modules of 3.40).
const Orientation kOrientations[] = {
    { 0, { 800, 345 }, { 100, 100 }, QRect(100, 100, 595, 145), { 0, 172 }, 1, 0 },
    { 1, { 345, 800 }, { 245, 100 }, QRect(100, 100, 145, 595), { 172, 0 }, 0, 1 },
    { 2, { 800, 345 }, { 700, 245 }, QRect(105, 100, 595, 145), { 799, 172 }, -1, 0 },
    { 3, { 345, 800 }, { 100, 700 }, QRect(100, 105, 145, 595), { 172, 799 }, 0, -1 },
};

class QtBarcode : public ::testing::TestWithParam<Orientation> { };

TEST_P(QtBarcode, SampleReferenceScansBackAt254Dpi)
{
    qttest::EnsureApplication();
    const Orientation& o = GetParam();
    LayoutUnit root;
    root.SetName("Master");
    auto barcode = root.AddChild("PBarcode");
    barcode->SetPosition({ o.anchor.x(), o.anchor.y() });
    barcode->SetSize({ 600, 145 });
    barcode->SetQuarterTurns(o.turns);

    QImage image = qttest::WhiteImage(o.image.width(), o.image.height(), 254);
    {
        gdi::QtDeviceContext dc(image);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        DrawBarcodeUnit(LayoutConverter(), *barcode, dc);
    }
    const std::string file = "barcode-1234567890123-turn" + std::to_string(o.turns) + ".png";
    ASSERT_TRUE(image.save(QString::fromStdString(qttest::OutputPath(file).string())));

    EXPECT_EQ(qttest::InkBounds(image, image.rect(), Dark), o.bars);
    EXPECT_EQ(code39test::DecodeCode39(ScanBars(image, o.scanFrom, o.dx, o.dy)), "$05O6AQT1");
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, QtBarcode, ::testing::ValuesIn(kOrientations),
    [](const auto& info) { return "turn" + std::to_string(info.param.turns); });

} // namespace
