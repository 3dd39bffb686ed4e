#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterRotate.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace {

// An 8-bpp picture whose palette and pixels are both unlike the grey defaults.
void FillPalettized(PLBmp& bmp)
{
    bmp.Create(2, 4, 8, false, false);
    for (int i = 0; i < 256; ++i)
        bmp.SetPaletteEntry(i, static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i), 9, 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x)
            bmp.GetRow(y)[x] = static_cast<uint8_t>(10 * y + x);
}

void ExpectPositionColours(const PLBmp& bmp, int width, int height)
{
    ASSERT_EQ(bmp.GetWidth(), width);
    ASSERT_EQ(bmp.GetHeight(), height);
    ASSERT_EQ(bmp.GetBitsPerPixel(), 32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(bmp.GetPixel32(x, y), PositionColour(x, y)) << x << "," << y;
}

void ExpectPalettized(const PLBmp& bmp)
{
    ASSERT_EQ(bmp.GetBitsPerPixel(), 8);
    ASSERT_EQ(bmp.GetWidth(), 2);
    ASSERT_EQ(bmp.GetHeight(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 2; ++x) {
            const int index = 10 * y + x;
            EXPECT_EQ(bmp.GetPixel32(x, y),
                PLPixel32(static_cast<uint8_t>(255 - index), static_cast<uint8_t>(index), 9, 255));
        }
}

template <typename Bitmap> class SwapPictureTest : public ::testing::Test {
};
using BitmapClasses = ::testing::Types<PLAnyBmp, PLWinBmp>;
TYPED_TEST_SUITE(SwapPictureTest, BitmapClasses);

TYPED_TEST(SwapPictureTest, ExchangesSizeDepthPixelsAndPaletteWithABitmapOfItsClass)
{
    TypeParam truecolour;
    TypeParam palettized;
    Fill32(truecolour, 5, 3, PositionColour);
    FillPalettized(palettized);
    truecolour.SwapPicture(palettized);
    ExpectPalettized(truecolour);
    ExpectPositionColours(palettized, 5, 3);
    // Each palette moved with its pixels: writing one bitmap's palette leaves the other alone.
    truecolour.SetPaletteEntry(0, 1, 2, 3, 255);
    EXPECT_EQ(palettized.GetPalette(), nullptr);
}

TYPED_TEST(SwapPictureTest, ABitmapOfAnotherClassIsCopiedAndKeepsItsPicture)
{
    TypeParam target;
    Fill32(target, 5, 3, PositionColour);
    PLAnyBmp any;
    PLWinBmp win;
    PLBmp& other = std::is_same_v<TypeParam, PLAnyBmp> ? static_cast<PLBmp&>(win) : static_cast<PLBmp&>(any);
    FillPalettized(other);
    target.SwapPicture(other);
    ExpectPalettized(target);
    ExpectPalettized(other);
}

TYPED_TEST(SwapPictureTest, AFilterAppliedInPlaceMovesItsResultIn)
{
    TypeParam inPlace;
    Fill32(inPlace, 5, 3, PositionColour);
    PLAnyBmp reference;
    const PLFilterRotate turn(PLROTATE_90);
    turn.Apply(&inPlace, &reference);
    inPlace.ApplyFilter(turn);
    ASSERT_EQ(inPlace.GetWidth(), 3);
    ASSERT_EQ(inPlace.GetHeight(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(inPlace.GetPixel32(x, y), reference.GetPixel32(x, y)) << x << "," << y;
    EXPECT_EQ(inPlace.GetLockCount(), 0);
}

} // namespace
