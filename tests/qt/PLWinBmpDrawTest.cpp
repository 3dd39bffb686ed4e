// A device-independent bitmap of the image library drawn on a QImage: upright in pixel mode and in
// the low-metric mode (y up) with a negative height, at every depth a picture can have. The pictures are
// written to the test output folder.
#include "QtTestSupport.h"

#include "imaging/bitmap/PLWinBmp.h"
#include "platform/qt/QtDeviceContext.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const QRgb Red = qRgb(255, 0, 0);
const QRgb Blue = qRgb(0, 0, 255);
const QRgb White = qRgb(255, 255, 255);

// 20 x 12 pixels: the top row red, the rest blue.
void MakeRedTopRow(PLWinBmp& bmp, int bpp)
{
    bmp.Create(20, 12, bpp, false, false);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool top = y == 0;
            if (bpp == 32)
                bmp.GetRow32(y)[x] = top ? PLPixel32(255, 0, 0) : PLPixel32(0, 0, 255);
            else if (bpp == 24)
                bmp.GetRow24(y)[x] = top ? PLPixel24(255, 0, 0) : PLPixel24(0, 0, 255);
            else if (bpp == 16) { // 5-5-5, little-endian
                const uint16_t word = top ? 0x7C00 : 0x001F;
                bmp.GetRow(y)[2 * x] = static_cast<uint8_t>(word & 0xFF);
                bmp.GetRow(y)[2 * x + 1] = static_cast<uint8_t>(word >> 8);
            } else if (bpp == 8)
                bmp.GetRow(y)[x] = top ? 1 : 0;
            else if (bpp == 4)
                bmp.GetRow(y)[x / 2] = top ? 0x11 : 0x00;
            else if (top)
                bmp.GetRow(y)[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    if (bpp <= 8) {
        bmp.SetPaletteEntry(0, 0, 0, 255, 255);
        bmp.SetPaletteEntry(1, 255, 0, 0, 255);
    }
}

class PLWinBmpOnQImage : public testing::TestWithParam<int> {
protected:
    void SetUp() override { qttest::EnsureApplication(); }
    void Save(const QImage& image, const std::string& mode)
    {
        image.save(QString::fromStdString(
            qttest::OutputPath("PLWinBmp-" + mode + "-" + std::to_string(GetParam()) + "bpp.png").string()));
    }
};

TEST_P(PLWinBmpOnQImage, PixelModeDrawsTheTopRowOnTop)
{
    PLWinBmp bmp;
    MakeRedTopRow(bmp, GetParam());
    QImage image = qttest::WhiteImage(100, 60, 96);
    {
        gdi::QtDeviceContext dc(image);
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        bmp.StretchDraw(dc, 10, 10, 40, 24); // twice the size: the red row becomes rows 10 and 11
        bmp.Draw(dc, 60, 5);
        bmp.DrawPart(dc, 10, 40, PLBox(0, 0, 4, 2)); // the left of the two top rows
    }
    Save(image, "pixel");
    EXPECT_EQ(image.pixel(30, 9), White);
    EXPECT_EQ(image.pixel(30, 10), Red);
    EXPECT_EQ(image.pixel(30, 11), Red);
    EXPECT_EQ(image.pixel(30, 12), Blue);
    EXPECT_EQ(image.pixel(30, 33), Blue);
    EXPECT_EQ(image.pixel(30, 34), White);
    EXPECT_EQ(image.pixel(70, 5), Red);
    EXPECT_EQ(image.pixel(70, 6), Blue);
    EXPECT_EQ(image.pixel(79, 16), Blue);
    EXPECT_EQ(image.pixel(80, 16), White);
    EXPECT_EQ(image.pixel(10, 40), Red);
    EXPECT_EQ(image.pixel(13, 41), Blue);
    EXPECT_EQ(image.pixel(14, 41), White);
    EXPECT_EQ(image.pixel(13, 42), White);
}

TEST_P(PLWinBmpOnQImage, LowMetricWithNegativeHeightDrawsUpright)
{
    PLWinBmp bmp;
    MakeRedTopRow(bmp, GetParam());
    // At 254 dpi one tenth of a millimetre is one pixel.
    QImage image = qttest::WhiteImage(300, 200, 254);
    {
        gdi::QtDeviceContext dc(image);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        dc.SetStretchBltMode(gdi::COLORONCOLOR);
        // y up: the top-left corner at (100, -40), the picture ten times its size, reaching down.
        bmp.StretchDraw(dc, 100, -40, 200, -120);
    }
    Save(image, "lometric");
    EXPECT_EQ(image.pixel(150, 39), White);
    EXPECT_EQ(image.pixel(150, 40), Red);
    EXPECT_EQ(image.pixel(150, 49), Red);
    EXPECT_EQ(image.pixel(150, 50), Blue);
    EXPECT_EQ(image.pixel(150, 159), Blue);
    EXPECT_EQ(image.pixel(150, 160), White);
    EXPECT_EQ(image.pixel(99, 100), White);
    EXPECT_EQ(image.pixel(100, 100), Blue);
    EXPECT_EQ(image.pixel(299, 100), Blue);
}

INSTANTIATE_TEST_SUITE_P(Depths, PLWinBmpOnQImage, testing::Values(1, 4, 8, 16, 24, 32),
    [](const auto& info) { return std::to_string(info.param) + "bpp"; });

} // namespace
