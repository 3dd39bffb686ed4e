// The fill filters: a rectangle clipped to the picture, the whole picture, and pictures of a depth
// that the pixel type does not fit.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLFilterFill.h"
#include "imaging/filters/PLFilterFillRect.h"

#include <gtest/gtest.h>

namespace {

const PLPixel32 kColour(10, 200, 30, 255);

// A 6 x 4 picture whose pixel (x, y) is red x, green y, blue 99, alpha 40.
void MakeNumbered(PLBmp& bmp)
{
    bmp.Create(6, 4, 32, true, false);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            bmp.GetRow32(y)[x] = PLPixel32(uint8_t(x), uint8_t(y), 99, 40);
}

struct RectCase {
    const char* what;
    int x1, y1, x2, y2;
};

TEST(FillFilter, RectangleIsClippedToThePicture)
{
    const RectCase cases[] = {
        { "inside", 1, 1, 3, 3 },
        { "over the left and top edges", -5, -2, 2, 1 },
        { "over the right and bottom edges", 4, 2, 60, 40 },
        { "the whole picture and more", -1, -1, 7, 5 },
        { "empty: x1 equals x2", 2, 0, 2, 4 },
        { "reversed", 4, 3, 1, 1 },
        { "outside on the right", 6, 0, 9, 4 },
        { "outside above", 0, -9, 6, 0 },
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.what);
        PLAnyBmp bmp;
        MakeNumbered(bmp);
        bmp.ApplyFilter(PLFilterFillRect<PLPixel32>(c.x1, c.y1, c.x2, c.y2, kColour));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                const bool inside = x >= c.x1 && x < c.x2 && y >= c.y1 && y < c.y2;
                const PLPixel32 expected = inside ? kColour : PLPixel32(uint8_t(x), uint8_t(y), 99, 40);
                EXPECT_EQ(bmp.GetRow32(y)[x], expected) << "at " << x << ", " << y;
            }
    }
}

TEST(FillFilter, WholePictureInPlaceAndIntoADestination)
{
    PLAnyBmp source;
    MakeNumbered(source);
    PLAnyBmp dest;
    PLFilterFill<PLPixel32>(kColour).Apply(&source, &dest);
    EXPECT_EQ(source.GetRow32(2)[3], PLPixel32(3, 2, 99, 40)); // the source stays as it was
    ASSERT_EQ(dest.GetSize(), PLCoord(6, 4));
    source.ApplyFilter(PLFilterFill<PLPixel32>(kColour));
    for (const PLBmp* bmp : { static_cast<const PLBmp*>(&source), static_cast<const PLBmp*>(&dest) })
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(bmp->GetRow32(y)[x], kColour);
}

TEST(FillFilter, OtherDepthsAreRefusedAndLeftAsTheyWere)
{
    for (const int bpp : { 8, 24 }) {
        SCOPED_TRACE(bpp);
        PLAnyBmp bmp;
        PLAnyBmp before;
        bmp.Create(5, 3, bpp, false, false);
        bmp.GetRow(1)[2] = 17;
        before.CreateCopy(bmp);
        EXPECT_EQ(ErrorCodeOf([&] { bmp.ApplyFilter(PLFilterFill<PLPixel32>(kColour)); }),
            PL_ERR_FORMAT_NOT_SUPPORTED);
        EXPECT_EQ(ErrorCodeOf([&] { bmp.ApplyFilter(PLFilterFillRect<PLPixel32>(0, 0, 2, 2, kColour)); }),
            PL_ERR_FORMAT_NOT_SUPPORTED);
        EXPECT_TRUE(bmp == before);
    }
    // The template serves the pixel type it is given: 24-bit pixels fill a 24-bpp picture.
    PLAnyBmp rgb;
    rgb.Create(3, 2, 24, false, false);
    rgb.ApplyFilter(PLFilterFill<PLPixel24>(PLPixel24(1, 2, 3)));
    EXPECT_EQ(rgb.GetRow(1)[6], 3); // blue, green, red of the third pixel
    EXPECT_EQ(rgb.GetRow(1)[8], 1);
}

} // namespace
