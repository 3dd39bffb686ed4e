// The dodge brush: a disc lightened by the strength, fading across the feather, each pixel
// lightened at most by the strength over all strokes, also after the picture changed its size.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/DeviceIndepBitmapBrush.h"

namespace {

using Pellimar::DeviceIndepBitmap;

// A grey picture of one value (chosen so that no lightened value lies near a whole number).
void MakeGrey(DeviceIndepBitmap& dib, int width, int height, uint8_t value, int bpp = 32)
{
    ASSERT_TRUE(dib.CreateImage(width, height, bpp, false, false, 72));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * bpp / 8; ++x)
            dib.GetBitmap()->GetRow(y)[x] = value;
}

// Blue, green and red of the pixel are all the value.
testing::AssertionResult IsGrey(const DeviceIndepBitmap& dib, int x, int y, int value)
{
    const PLPixel32 p = dib.GetBitmap()->GetPixel32(x, y);
    if (p.GetR() == value && p.GetG() == value && p.GetB() == value)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << x << ", " << y << ") is " << int(p.GetR()) << ", "
                                       << int(p.GetG()) << ", " << int(p.GetB()) << ", not " << value;
}

struct DiscCase {
    int16_t radius;
    int16_t feather;
    int16_t strength;
    uint8_t base;
    // The pixel at distance d to the right of the centre, for d = 0, 1, ...
    std::vector<int> alongRow;
};

void PrintTo(const DiscCase& c, std::ostream* os)
{
    *os << "r" << c.radius << "f" << c.feather << "s" << c.strength << "on" << int(c.base);
}

class DodgeDisc : public testing::TestWithParam<DiscCase> { };

// One stroke: c x (1 + p / 100) truncated, where p is the strength up to the feather and falls
// linearly to 0 at the radius; pixels at the radius and beyond are untouched, as is everything
// above and below the disc.
TEST_P(DodgeDisc, LightensTheDiscWithItsFeather)
{
    const DiscCase& c = GetParam();
    DeviceIndepBitmap dib;
    MakeGrey(dib, 41, 31, c.base);
    DeviceIndepBitmap::DodgeBrush* brush = dib.AddDodgeBrush(c.radius, c.feather, c.strength);
    ASSERT_TRUE(brush->Apply(15, 15));
    for (size_t d = 0; d < c.alongRow.size(); ++d)
        EXPECT_TRUE(IsGrey(dib, 15 + static_cast<int>(d), 15, c.alongRow[d])) << "distance " << d;
    EXPECT_TRUE(IsGrey(dib, 15, 15 - c.radius, c.base));
    EXPECT_TRUE(IsGrey(dib, 15 + c.radius, 15, c.base));
    EXPECT_TRUE(IsGrey(dib, 40, 30, c.base));
    // A second stroke at the same point finds every cap reached.
    ASSERT_TRUE(brush->Apply(15, 15));
    for (size_t d = 0; d < c.alongRow.size(); ++d)
        EXPECT_TRUE(IsGrey(dib, 15 + static_cast<int>(d), 15, c.alongRow[d])) << "again, distance " << d;
}

INSTANTIATE_TEST_SUITE_P(Wrapper, DodgeDisc,
    testing::Values(DiscCase { 10, 50, 20, 101, { 121, 121, 121, 121, 121, 121, 117, 113, 109, 105, 101 } },
        DiscCase { 8, 0, 30, 101, { 131, 131, 131, 131, 131, 131, 131, 131, 101 } },
        DiscCase { 10, 100, 50, 101, { 151, 146, 141, 136, 131, 126, 121, 116, 111, 106, 101 } },
        DiscCase { 4, 25, 10, 101, { 111, 111, 111, 111, 101 } },
        DiscCase { 10, 150, 30, 101, { 121, 119, 117, 115, 113, 111, 109, 107, 105, 103, 101 } },
        DiscCase { 3, 0, 20, 240, { 255, 255, 255, 240 } }, DiscCase { 5, 0, -20, 101, { 101, 101, 101 } },
        DiscCase { 0, 50, 20, 101, { 101, 101 } }));

// The distance is truncated; overlapping strokes add only what the cap still allows.
TEST(DodgeBrush, TruncatedDistanceAndTheCap)
{
    DeviceIndepBitmap dib;
    MakeGrey(dib, 41, 31, 101);
    DeviceIndepBitmap::DodgeBrush* brush = dib.AddDodgeBrush(10, 50, 20);
    ASSERT_TRUE(brush->Apply(15, 15));
    EXPECT_TRUE(IsGrey(dib, 18, 19, 121)); // distance 5
    EXPECT_TRUE(IsGrey(dib, 22, 22, 105)); // 9.9: 9
    EXPECT_TRUE(IsGrey(dib, 24, 20, 101)); // 10.3: 10
    EXPECT_TRUE(IsGrey(dib, 5, 15, 101)); // the square's left column, at distance 10

    ASSERT_TRUE(brush->Apply(18, 15));
    EXPECT_TRUE(IsGrey(dib, 15, 15, 121)); // capped at 20 already
    EXPECT_TRUE(IsGrey(dib, 24, 15, 117)); // had 4, now at distance 6 may have 16: 105 x 1.12
    EXPECT_TRUE(IsGrey(dib, 27, 15, 105)); // first touched now, at distance 9
}

// Strokes at the edges paint only what lies inside the picture; a 24-bpp picture is painted the
// same way; other depths are refused; a wrapper without a picture is left alone.
TEST(DodgeBrush, EdgesDepthsAndNoPicture)
{
    for (const int bpp : { 24, 32 }) {
        DeviceIndepBitmap dib;
        MakeGrey(dib, 12, 9, 101, bpp);
        DeviceIndepBitmap::DodgeBrush* brush = dib.AddDodgeBrush(6, 0, 20);
        ASSERT_TRUE(brush->Apply(0, 0));
        ASSERT_TRUE(brush->Apply(11, 8));
        ASSERT_TRUE(brush->Apply(-3, 50));
        EXPECT_TRUE(IsGrey(dib, 0, 0, 121)) << bpp;
        EXPECT_TRUE(IsGrey(dib, 5, 3, 121)) << bpp;
        EXPECT_TRUE(IsGrey(dib, 11, 8, 121)) << bpp;
        EXPECT_TRUE(IsGrey(dib, 11, 0, 101)) << bpp;
    }
    DeviceIndepBitmap grey8;
    ASSERT_TRUE(grey8.CreateImage(8, 8, 8, false, true, 72));
    EXPECT_FALSE(grey8.AddDodgeBrush(4, 0, 20)->Apply(4, 4));
    EXPECT_EQ(grey8.GetLastResult().code, 6);

    DeviceIndepBitmap empty;
    EXPECT_TRUE(empty.AddDodgeBrush(4, 0, 20)->Apply(4, 4));
    EXPECT_FALSE(empty.IsModified());
}

// A brush made before the picture was resized paints the resized picture with a fresh cap.
TEST(DodgeBrush, AfterTheResize)
{
    struct SizeCase {
        int width, height;
    };
    for (const SizeCase& size : { SizeCase { 80, 60 }, SizeCase { 20, 15 } }) {
        DeviceIndepBitmap dib;
        MakeGrey(dib, 40, 30, 101);
        DeviceIndepBitmap::DodgeBrush* brush = dib.AddDodgeBrush(10, 50, 20);
        ASSERT_TRUE(brush->Apply(20, 15));
        MakeGrey(dib, size.width, size.height, 101);
        const int x = size.width - 10;
        const int y = size.height - 8;
        ASSERT_TRUE(brush->Apply(x, y));
        EXPECT_TRUE(IsGrey(dib, x, y, 121)) << size.width;
        EXPECT_TRUE(IsGrey(dib, x + 9, y, 105)) << size.width;
        EXPECT_TRUE(IsGrey(dib, x, y - 6, 117)) << size.width;
        EXPECT_TRUE(IsGrey(dib, 0, 0, 101)) << size.width;
    }
    // Through the resize operation itself.
    DeviceIndepBitmap dib;
    MakeGrey(dib, 40, 30, 101);
    DeviceIndepBitmap::DodgeBrush* brush = dib.AddDodgeBrush(10, 50, 20);
    ASSERT_TRUE(
        dib.Resize(ResizeSettings { ResizeSettings::Always, ResizeSettings::Bilinear, 80, 60, false, 0.0 }));
    ASSERT_TRUE(brush->Apply(75, 55));
    EXPECT_TRUE(IsGrey(dib, 75, 55, 121));
    EXPECT_TRUE(IsGrey(dib, 79, 59, 121));
}

} // namespace
