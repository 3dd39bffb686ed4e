// Depth conversions among 1, 8, 24 and 32 bpp, the palette and alpha setters, and comparison.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"

namespace {

// The colours of the 32-bpp fixture, left to right: just dark, just light in red only, black,
// white, and a colour with a translucent alpha. Dark (all channels below 128) becomes black at 1 bpp.
const PLPixel32 Fixture[5] = { PLPixel32(127, 127, 127, 255), PLPixel32(128, 0, 0, 255),
    PLPixel32(0, 0, 0, 9), PLPixel32(255, 255, 255, 255), PLPixel32(10, 200, 30, 100) };
const bool Dark[5] = { true, false, true, false, false };

void MakeFixture(PLBmp& bmp)
{
    Fill32(bmp, 5, 2, [](int x, int) { return Fixture[x]; });
    bmp.SetHasAlpha(true);
    for (int x = 0; x < 5; ++x) // SetHasAlpha made every alpha opaque; put the fixture's back
        bmp.GetRow32(1)[x] = bmp.GetRow32(0)[x] = Fixture[x];
    bmp.SetResolution(PLCoord(300, 150));
}

class Conversion : public testing::Test {
protected:
    void SetUp() override { MakeFixture(src); }
    PLAnyBmp src;
};

TEST_F(Conversion, ThirtyTwoToOneThresholdsAt128)
{
    PLWinBmp one;
    one.CreateCopy(src, 1);
    EXPECT_EQ(one.GetBitsPerPixel(), 1);
    EXPECT_EQ(one.GetPalette()[0], PLPixel32(255, 255, 255, 255));
    EXPECT_EQ(one.GetPalette()[1], PLPixel32(0, 0, 0, 255));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ((one.GetRow(y)[0] >> (7 - x)) & 1, Dark[x] ? 1 : 0) << x;
    EXPECT_EQ(one.GetRow(0)[0] & 0x07, 0) << "bits past the row's end stay clear";
    EXPECT_FALSE(one.HasAlpha());
    EXPECT_EQ(one.GetResolution(), PLCoord(300, 150));
}

TEST_F(Conversion, TrueColourRoundTripDropsAndRestoresAlpha)
{
    PLAnyBmp rgb;
    rgb.CreateCopy(src, 24);
    EXPECT_FALSE(rgb.HasAlpha());
    PLWinBmp back;
    back.CreateCopy(rgb, 32);
    EXPECT_FALSE(back.HasAlpha());
    for (int x = 0; x < 5; ++x) {
        const PLPixel24 p = rgb.GetRow24(1)[x];
        EXPECT_EQ(p, PLPixel24(Fixture[x])) << x;
        const PLPixel32 q = back.GetRow32(1)[x];
        EXPECT_EQ(q, PLPixel32(Fixture[x].GetR(), Fixture[x].GetG(), Fixture[x].GetB(), 255)) << x;
    }
    EXPECT_EQ(back.GetResolution(), PLCoord(300, 150));
}

TEST_F(Conversion, OneBitExpandsThroughItsPaletteAtEveryDepth)
{
    PLAnyBmp one;
    one.CreateCopy(src, 1);
    one.SetPaletteEntry(1, 0, 0, 0, 77); // a palette alpha that 32 bpp must carry over
    PLAnyBmp eight, rgb, rgba;
    eight.CreateCopy(one, 8);
    rgb.CreateCopy(one, 24);
    rgba.CreateCopy(one, 32);
    EXPECT_EQ(eight.GetPalette()[0], PLPixel32(255, 255, 255, 255));
    EXPECT_EQ(eight.GetPalette()[1], PLPixel32(0, 0, 0, 255));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(eight.GetRow(1)[x], Dark[x] ? 1 : 0);
        EXPECT_EQ(rgb.GetRow24(1)[x], Dark[x] ? PLPixel24(0, 0, 0) : PLPixel24(255, 255, 255));
        EXPECT_EQ(rgba.GetRow32(1)[x], Dark[x] ? PLPixel32(0, 0, 0, 77) : PLPixel32(255, 255, 255, 255));
    }
}

TEST_F(Conversion, EightBitGoesThroughItsPalette)
{
    PLAnyBmp eight;
    eight.Create(3, 1, 8, false, true);
    eight.SetPaletteEntry(5, 127, 127, 127, 255);
    eight.SetPaletteEntry(6, 128, 10, 10, 40);
    const uint8_t indexes[3] = { 5, 6, 255 };
    std::copy_n(indexes, 3, eight.GetRow(0));
    PLAnyBmp one, rgb, rgba;
    one.CreateCopy(eight, 1);
    rgb.CreateCopy(eight, 24);
    rgba.CreateCopy(eight, 32);
    EXPECT_EQ(one.GetRow(0)[0] >> 5, 0b100);
    EXPECT_EQ(rgb.GetRow24(0)[1], PLPixel24(128, 10, 10));
    EXPECT_EQ(rgba.GetRow32(0)[1], PLPixel32(128, 10, 10, 40));
    EXPECT_EQ(rgba.GetRow32(0)[2], PLPixel32(255, 255, 255, 255));
    EXPECT_FALSE(rgba.IsGreyscale()) << "the greyscale flag survives only at 8 bpp";
}

TEST_F(Conversion, ThirtyTwoToEightUsesTheFixedPaletteByDefault)
{
    PLAnyBmp eight;
    eight.CreateCopy(src, 8);
    EXPECT_EQ(eight.GetBitsPerPixel(), 8);
    EXPECT_EQ(eight.GetRow(0)[2], 0) << "black is entry 0";
    EXPECT_EQ(eight.GetRow(0)[3], 255) << "white is entry 255";
    EXPECT_EQ(eight.GetPalette()[63], PLPixel32(0x51, 0x85, 0x37, 0));
    EXPECT_EQ(eight.GetResolution(), PLCoord(300, 150));
}

TEST_F(Conversion, TwentyFourBitSourceReachesOneAndEightBits)
{
    PLAnyBmp rgb, one, eight;
    rgb.CreateCopy(src, 24);
    one.CreateCopy(rgb, 1);
    eight.CreateCopy(rgb, 8);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ((one.GetRow(0)[0] >> (7 - x)) & 1, Dark[x] ? 1 : 0);
    EXPECT_EQ(eight.GetRow(0)[3], 255);
}

TEST_F(Conversion, SameDepthCopiesAndInPlaceConversion)
{
    PLWinBmp copy;
    copy.CreateCopy(src, 0);
    EXPECT_TRUE(copy == src);
    copy.CreateCopy(src, 32);
    EXPECT_TRUE(copy == src);
    copy.CreateCopy(copy, 0);
    EXPECT_TRUE(copy == src) << "copying onto itself changes nothing";
    copy.CreateCopy(copy, 24);
    EXPECT_EQ(copy.GetBitsPerPixel(), 24);
    EXPECT_EQ(copy.GetRow24(1)[4], PLPixel24(10, 200, 30));
    copy.CreateCopy(src, 8);
    copy.CreateCopy(copy, 1);
    EXPECT_EQ(src.GetLockCount(), 0) << "every conversion unlocks what it locked";
    EXPECT_EQ(copy.GetLockCount(), 0);
}

TEST_F(Conversion, UnsupportedDepthsAreRefusedWithoutChange)
{
    PLAnyBmp target;
    target.Create(1, 1, 8, false, false);
    EXPECT_EQ(ErrorCodeOf([&] { target.CreateCopy(src, 16); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    PLAnyBmp four;
    four.Create(2, 2, 4, false, false);
    EXPECT_EQ(ErrorCodeOf([&] { target.CreateCopy(four, 32); }), PL_ERR_FORMAT_NOT_SUPPORTED);
    EXPECT_EQ(target.GetSize(), PLCoord(1, 1));
}

TEST(BitmapPalette, GreyPaletteOfOneBitIsBlackThenWhiteAndConversionSwapsIt)
{
    PLAnyBmp one;
    one.Create(4, 1, 1, false, false);
    EXPECT_EQ(one.GetPalette()[0], PLPixel32(0, 0, 0, 255));
    EXPECT_EQ(one.GetPalette()[1], PLPixel32(255, 255, 255, 255));
    PLAnyBmp eight;
    eight.Create(4, 1, 8, false, false);
    PLAnyBmp converted;
    converted.CreateCopy(eight, 1);
    EXPECT_EQ(converted.GetPalette()[0], PLPixel32(255, 255, 255, 255));
    EXPECT_EQ(converted.GetPalette()[1], PLPixel32(0, 0, 0, 255));
}

TEST(BitmapPalette, SettersOnTheWrongDepthOrIndexDoNothing)
{
    PLAnyBmp rgba;
    rgba.Create(2, 2, 32, false, false);
    rgba.SetPaletteEntry(0, 1, 2, 3, 4); // no palette at 32 bpp
    EXPECT_EQ(rgba.GetPalette(), nullptr);

    PLAnyBmp one;
    one.Create(2, 2, 1, false, false);
    one.SetPaletteEntry(2, 9, 9, 9, 9); // one past the end
    one.SetPaletteEntry(-1, 9, 9, 9, 9);
    EXPECT_EQ(one.GetPalette()[1], PLPixel32(255, 255, 255, 255));

    PLAnyBmp eight; // 256 entries into a 2-entry palette: only two are taken
    eight.Create(2, 2, 8, false, false);
    eight.SetPaletteEntry(0, 50, 60, 70, 255);
    one.CopyPaletteFrom(eight);
    EXPECT_EQ(one.GetPalette()[0], PLPixel32(50, 60, 70, 255));
    EXPECT_EQ(one.GetPalette()[1], PLPixel32(1, 1, 1, 255));
}

TEST(BitmapAlpha, SettersOnTheWrongDepthOrSizeDoNothing)
{
    PLAnyBmp rgb;
    rgb.Create(2, 2, 24, false, false);
    rgb.SetHasAlpha(true);
    EXPECT_FALSE(rgb.HasAlpha());

    PLAnyBmp mask;
    mask.Create(2, 2, 8, false, false);
    mask.GetRow(1)[0] = 33;
    rgb.SetAlphaChannel(mask);
    EXPECT_FALSE(rgb.HasAlpha());

    PLAnyBmp rgba;
    rgba.Create(3, 2, 32, false, false);
    rgba.SetAlphaChannel(mask); // other size
    EXPECT_FALSE(rgba.HasAlpha());
    rgba.Create(2, 2, 32, false, false);
    rgba.SetAlphaChannel(mask);
    EXPECT_TRUE(rgba.HasAlpha());
    EXPECT_EQ(rgba.GetRow32(1)[0].GetA(), 33);
    EXPECT_EQ(rgba.GetRow32(0)[0].GetA(), 0);
}

TEST(BitmapAlpha, TurningAlphaOnMakesEveryPixelOpaqueFirst)
{
    PLAnyBmp rgba;
    Fill32(rgba, 2, 1, [](int, int) { return PLPixel32(1, 2, 3, 0); });
    rgba.SetHasAlpha(true);
    EXPECT_EQ(rgba.GetRow32(0)[1], PLPixel32(1, 2, 3, 255));
}

TEST(BitmapCompare, EpsilonAppliesTo8And32BitsOnly)
{
    struct Case {
        int bpp;
        int delta;
        int epsilon;
        bool equal;
    };
    const Case cases[] = { { 8, 2, 2, true }, { 8, 3, 2, false }, { 32, 2, 2, true }, { 32, 3, 2, false },
        { 24, 1, 5, false }, { 24, 0, 0, true }, { 1, 0x80, 5, false }, // the ninth pixel
        { 1, 0x01, 0, true } }; // a bit past the end of the row
    for (const Case& c : cases) {
        PLAnyBmp a, b;
        a.Create(9, 2, c.bpp, false, false);
        b.Create(9, 2, c.bpp, false, false);
        b.GetRow(1)[1] = static_cast<uint8_t>(b.GetRow(1)[1] + c.delta);
        EXPECT_EQ(a.AlmostEqual(b, c.epsilon), c.equal) << c.bpp << " bpp, delta " << c.delta;
    }
    PLAnyBmp a, b;
    a.Create(2, 2, 8, false, false);
    b.Create(2, 2, 8, false, false);
    b.SetResolution(PLCoord(1, 0));
    EXPECT_FALSE(a == b);
    b.SetResolution(PLCoord(0, 0));
    b.SetPaletteEntry(9, 0, 0, 0, 255);
    EXPECT_FALSE(a == b) << "8-bpp palettes are compared";
}

TEST(BitmapInfo, DescriptionTextRoundTrips)
{
    const PLBmpInfo info(PLCoord(640, 480), 24, PLCoord(300, 72), false, true);
    const std::string text = info.Describe();
    EXPECT_EQ(text, "{ Size: (640, 480), bpp: 24, Resolution: (300, 72), Alpha: 0, Greyscale: 1 }");
    EXPECT_TRUE(PLBmpInfo(text.c_str()) == info);
}

} // namespace
