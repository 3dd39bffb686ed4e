// Turning, flipping, mirroring, cropping and joining, at every depth the bitmaps hold.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterCrop.h"
#include "imaging/filters/PLFilterFlip.h"
#include "imaging/filters/PLFilterJoin.h"
#include "imaging/filters/PLFilterMirror.h"
#include "imaging/filters/PLFilterRotate.h"
#include "imaging/filters/PLRotateKernels.h"

#include <algorithm>
#include <vector>

namespace {

// A bitmap of any depth whose every pixel differs from its neighbours, with a distinct palette
// below 16 bpp and a resolution whose x and y differ.
void MakePattern(PLBmp& bmp, int width, int height, int bpp)
{
    const auto rowBytes = static_cast<size_t>(PLBmp::UnpaddedRowBytes(width, bpp));
    std::vector<uint8_t> bits(rowBytes * static_cast<size_t>(height));
    uint32_t seed = 2463534242u ^ static_cast<uint32_t>(width * 31 + height * 7 + bpp);
    for (auto& b : bits) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        b = static_cast<uint8_t>(seed);
    }
    bmp.Create(width, height, bpp, bpp == 32, false, bits.data(), 0, PLCoord(300, 120));
    for (int i = 0; bpp <= 8 && i < (1 << bpp); ++i)
        bmp.SetPaletteEntry(
            i, static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 3), 255);
}

void Turn(PLBmp& bmp, int mode)
{
    bmp.ApplyFilter(PLFilterRotate(mode));
}

class EveryDepth : public testing::TestWithParam<int> { };

TEST_P(EveryDepth, TurnsCompose)
{
    const int bpp = GetParam();
    PLAnyBmp original, a, b;
    MakePattern(original, 9, 5, bpp);
    a.CreateCopy(original);
    Turn(a, PLROTATE_90);
    EXPECT_EQ(a.GetSize(), PLCoord(5, 9));
    EXPECT_EQ(a.GetResolution(), PLCoord(300, 120)) << "a turn does not swap the resolution";
    Turn(a, PLROTATE_90);
    b.CreateCopy(original);
    Turn(b, PLROTATE_180);
    EXPECT_TRUE(a == b) << "two quarter turns are a half turn";
    Turn(a, PLROTATE_90);
    b.CreateCopy(original);
    Turn(b, PLROTATE_270);
    EXPECT_TRUE(a == b) << "three quarter turns clockwise are one anticlockwise";
    Turn(a, PLROTATE_90);
    EXPECT_TRUE(a == original) << "four quarter turns restore the picture";
    Turn(a, PLROTATE_90);
    Turn(a, PLROTATE_270);
    EXPECT_TRUE(a == original) << "a turn and its opposite restore the picture";
}

TEST_P(EveryDepth, FlipAndMirrorCompose)
{
    const int bpp = GetParam();
    PLAnyBmp original, a, b;
    MakePattern(original, 11, 4, bpp);
    a.CreateCopy(original);
    a.ApplyFilter(PLFilterFlip());
    EXPECT_FALSE(a == original);
    a.ApplyFilter(PLFilterMirror());
    b.CreateCopy(original);
    Turn(b, PLROTATE_180);
    EXPECT_TRUE(a == b) << "flip and mirror make a half turn";
    a.ApplyFilter(PLFilterMirror());
    a.ApplyFilter(PLFilterFlip());
    EXPECT_TRUE(a == original);
}

TEST_P(EveryDepth, CropTakesTheRectangleAndThePalette)
{
    const int bpp = GetParam();
    PLAnyBmp original, cut;
    MakePattern(original, 17, 6, bpp);
    cut.CreateFilteredCopy(original, PLFilterCrop(3, 1, 12, 5));
    ASSERT_EQ(cut.GetSize(), PLCoord(9, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(cut.GetPixel32(x, y), original.GetPixel32(x + 3, y + 1)) << x << "," << y;
    EXPECT_EQ(cut.GetPalette() != nullptr, bpp <= 8);
    cut.CreateFilteredCopy(original, PLFilterCrop(0, 0, 17, 6));
    EXPECT_TRUE(cut == original) << "the full rectangle is a copy";
}

INSTANTIATE_TEST_SUITE_P(Depths, EveryDepth, testing::Values(1, 4, 8, 16, 24, 32));

TEST(RotateFilter, CornersOfAThreeByTwoPicture)
{
    PLAnyBmp src;
    Fill32(src, 3, 2, PositionColour);
    PLAnyBmp turned;
    turned.CreateFilteredCopy(src, PLFilterRotate(PLROTATE_90));
    ASSERT_EQ(turned.GetSize(), PLCoord(2, 3));
    EXPECT_EQ(turned.GetRow32(0)[0], PositionColour(0, 1)) << "top-left is the source's bottom-left";
    EXPECT_EQ(turned.GetRow32(0)[1], PositionColour(0, 0)) << "top-right is the source's top-left";
    EXPECT_EQ(turned.GetRow32(2)[1], PositionColour(2, 0));
    turned.CreateFilteredCopy(src, PLFilterRotate(PLROTATE_270));
    EXPECT_EQ(turned.GetRow32(0)[0], PositionColour(2, 0)) << "top-left is the source's top-right";
    EXPECT_EQ(turned.GetRow32(2)[1], PositionColour(0, 1));
}

TEST(RotateFilter, TiledLoopEqualsThePlainOneOverOddSizes)
{
    const PLCoord sizes[] = { { 1, 1 }, { 1, 7 }, { 3, 5 }, { 33, 31 }, { 65, 37 }, { 31, 97 }, { 97, 3 } };
    for (const int bpp : { 8, 16, 24, 32 })
        for (const PLCoord size : sizes)
            for (int mode = 0; mode < 3; ++mode) {
                PLAnyBmp src, plain, tiled;
                MakePattern(src, size.x, size.y, bpp);
                const bool quarter = mode != 1;
                for (PLAnyBmp* dst : { &plain, &tiled })
                    dst->Create(quarter ? size.y : size.x, quarter ? size.x : size.y, bpp, bpp == 32, false);
                PLRotateKernels::RotatePlain(src, plain, mode);
                PLRotateKernels::RotateTiled(src, tiled, mode);
                EXPECT_TRUE(plain == tiled)
                    << bpp << " bpp, " << size.x << " x " << size.y << ", mode " << mode;
            }
}

TEST(RotateFilter, InvalidModeRaisesAndLeavesThePicture)
{
    for (const int mode : { -1, 3, 90 }) {
        PLWinBmp bmp, before;
        MakePattern(bmp, 5, 3, 24);
        before.CreateCopy(bmp);
        EXPECT_EQ(ErrorCodeOf([&] { Turn(bmp, mode); }), PL_ERR_FORMAT_NOT_SUPPORTED) << mode;
        EXPECT_TRUE(bmp == before) << mode;
    }
}

TEST(FilterInPlace, KeepsTheBitmapsOwnClass)
{
    PLWinBmp bmp;
    MakePattern(bmp, 5, 3, 24);
    Turn(bmp, PLROTATE_90);
    EXPECT_EQ(bmp.GetBitmapInfo()->biWidth, 3);
    EXPECT_EQ(bmp.GetBitmapInfo()->biHeight, 5);
    EXPECT_EQ(bmp.BytesPerRow(), 12);
}

TEST(CropFilter, EmptyRectanglesAndBadOnes)
{
    PLAnyBmp src, cut;
    MakePattern(src, 6, 4, 32);
    cut.CreateFilteredCopy(src, PLFilterCrop(2, 1, 2, 3));
    EXPECT_EQ(cut.GetSize(), PLCoord(0, 2));
    cut.CreateFilteredCopy(src, PLFilterCrop(2, 3, 5, 3));
    EXPECT_EQ(cut.GetSize(), PLCoord(3, 0));
    const PLFilterCrop bad[] = { { -1, 0, 2, 2 }, { 0, -1, 2, 2 }, { 3, 0, 2, 2 }, { 0, 3, 2, 2 },
        { 0, 0, 7, 2 }, { 0, 0, 2, 5 } };
    for (const PLFilterCrop& crop : bad) {
        PLAnyBmp before;
        before.CreateCopy(src);
        EXPECT_EQ(ErrorCodeOf([&] { src.ApplyFilter(crop); }), PL_ERR_FORMAT_NOT_SUPPORTED);
        EXPECT_TRUE(src == before);
    }
}

class JoinFilter : public testing::Test {
protected:
    // Each pixel's red is its column and green its row, blue tells the two bitmaps apart.
    static void Make(PLBmp& bmp, int width, int height, uint8_t tag)
    {
        Fill32(bmp, width, height, [tag](int x, int y) {
            return PLPixel32(static_cast<uint8_t>(x), static_cast<uint8_t>(y), tag, 255);
        });
    }
    static void ExpectColumns(const PLBmp& joined, int firstColumn, int width, uint8_t tag, int firstRow)
    {
        for (int y = 0; y < joined.GetHeight(); ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(joined.GetRow32(y)[firstColumn + x],
                    PLPixel32(static_cast<uint8_t>(x), static_cast<uint8_t>(firstRow + y), tag, 255))
                    << "column " << firstColumn + x << " row " << y;
    }
};

TEST_F(JoinFilter, TallerBitmapIsCutCentred)
{
    struct Case {
        PLCoord src;
        PLCoord other;
        int mode;
        int srcFirstRow; // the first row used of each; the odd row falls to the bottom
        int otherFirstRow;
    };
    const Case cases[] = {
        { { 4, 10 }, { 3, 6 }, PLJOIN_OTHER_RIGHT, 2, 0 },
        { { 4, 10 }, { 3, 7 }, PLJOIN_OTHER_LEFT, 1, 0 }, // source rows 1 to 7
        { { 2, 3 }, { 5, 8 }, PLJOIN_OTHER_RIGHT, 0, 2 },
    };
    for (const Case& c : cases) {
        PLAnyBmp src, other, joined;
        Make(src, c.src.x, c.src.y, 1);
        Make(other, c.other.x, c.other.y, 2);
        joined.CreateFilteredCopy(src, PLFilterJoin(c.mode, &other));
        ASSERT_EQ(joined.GetSize(), PLCoord(c.src.x + c.other.x, std::min(c.src.y, c.other.y)));
        const bool otherLeft = c.mode == PLJOIN_OTHER_LEFT;
        ExpectColumns(joined, otherLeft ? c.other.x : 0, c.src.x, 1, c.srcFirstRow);
        ExpectColumns(joined, otherLeft ? 0 : c.src.x, c.other.x, 2, c.otherFirstRow);
    }
}

TEST_F(JoinFilter, BadModesAndDepthsRaiseAndLeaveTheDestination)
{
    PLAnyBmp src, other, eight;
    Make(src, 2, 3, 1);
    Make(other, 2, 3, 2);
    eight.Create(2, 3, 8, false, false);
    struct Case {
        int mode;
        PLBmp* other;
    };
    const Case cases[] = { { 0, &other }, { 1, &other }, { 4, &other }, { 3, &eight }, { 3, nullptr } };
    for (const Case& c : cases) {
        PLWinBmp dest, before;
        MakePattern(dest, 3, 3, 24);
        before.CreateCopy(dest);
        EXPECT_EQ(ErrorCodeOf([&] { dest.CreateFilteredCopy(src, PLFilterJoin(c.mode, c.other)); }),
            PL_ERR_FORMAT_NOT_SUPPORTED)
            << c.mode;
        EXPECT_TRUE(dest == before) << c.mode;
        EXPECT_EQ(ErrorCodeOf([&] { dest.ApplyFilter(PLFilterJoin(c.mode, c.other)); }),
            PL_ERR_FORMAT_NOT_SUPPORTED);
        EXPECT_TRUE(dest == before) << "in place, mode " << c.mode;
    }
}

TEST_F(JoinFilter, OtherBitmapMayBeTheDestination)
{
    PLAnyBmp src, other;
    Make(src, 2, 3, 1);
    Make(other, 3, 3, 2);
    other.CreateFilteredCopy(src, PLFilterJoin(PLJOIN_OTHER_LEFT, &other));
    ASSERT_EQ(other.GetSize(), PLCoord(5, 3));
    ExpectColumns(other, 0, 3, 2, 0);
    ExpectColumns(other, 3, 2, 1, 0);
}

} // namespace
