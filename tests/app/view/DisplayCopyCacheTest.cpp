#include "PaintTestSupport.h"

#include "app/view/DisplayCopyCache.h"

#include <gtest/gtest.h>

namespace {

using painttest::MakePicture;

// Every pixel its own colour, so that any misplaced pixel shows.
std::shared_ptr<Pellimar::DeviceIndepBitmap> DistinctPicture(int width, int height)
{
    return MakePicture(width, height, 0, [](int x, int y) { return win::RGB(x * 10, y * 10, 7); });
}

bool SamePixels(const PLBmp& a, const PLBmp& b)
{
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return false;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x) {
            const PLPixel32 p = a.GetPixel32(x, y);
            const PLPixel32 q = b.GetPixel32(x, y);
            if (p.GetR() != q.GetR() || p.GetG() != q.GetG() || p.GetB() != q.GetB())
                return false;
        }
    return true;
}

TEST(DisplayCopy, FullSizeCopyIsThePictureTurnedAsTheWrapperTurnsIt)
{
    for (int turns = 0; turns < 4; ++turns) {
        const auto picture = DistinctPicture(5, 3);
        Pellimar::DeviceIndepBitmap turned(*picture);
        ASSERT_TRUE(turned.Rotate(turns));
        const PLCoord size = turned.GetSize();
        const auto copy = MakeDisplayCopy(*picture->GetBitmap(), turns, size.x, size.y);
        EXPECT_TRUE(SamePixels(*copy, *turned.GetBitmap())) << turns << " quarter turns";
    }
}

TEST(DisplayCopy, ReducedCopyTakesThePixelUnderEachCentre)
{
    const auto picture = DistinctPicture(6, 4);
    const auto copy = MakeDisplayCopy(*picture->GetBitmap(), 0, 3, 2);
    // Copy pixel (1, 1) has its centre on the corner of picture pixel (3, 3) and takes the pixel
    // before it, as the device does; (0, 0) takes (0, 0).
    EXPECT_EQ(copy->GetPixel32(1, 1).GetR(), 20);
    EXPECT_EQ(copy->GetPixel32(1, 1).GetG(), 20);
    EXPECT_EQ(copy->GetPixel32(0, 0).GetR(), 0);
    // Off the boundaries the centre decides: 9 to 3 takes columns 1, 4 and 7.
    const auto wide = MakeDisplayCopy(*DistinctPicture(9, 1)->GetBitmap(), 0, 3, 1);
    EXPECT_EQ(wide->GetPixel32(0, 0).GetR(), 10);
    EXPECT_EQ(wide->GetPixel32(2, 0).GetR(), 70);
}

TEST(DisplayCopyCache, CopyIsKeptUntilThePictureTurnsOrSizeChange)
{
    DisplayCopyCache cache;
    const auto picture = DistinctPicture(40, 30);
    const PLWinBmp* first = cache.Get(picture, 1, 15, -20);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetSize(), PLCoord(15, 20));
    EXPECT_EQ(cache.Get(picture, 1, 15, 20), first);
    EXPECT_EQ(cache.Get(picture, 5, -15, 20), first); // the same turns and size
    EXPECT_EQ(cache.CopiesMade(), 1u);
    // Turning to the orientation it has is no change (the cache does that on every hit).
    picture->RotateToOrientation(0);
    EXPECT_EQ(cache.Get(picture, 1, 15, 20), first);
    EXPECT_EQ(cache.CopiesMade(), 1u);

    cache.Get(picture, 0, 15, 20);
    cache.Get(picture, 1, 16, 20);
    EXPECT_EQ(cache.CopiesMade(), 3u);
    EXPECT_EQ(cache.Size(), 3u);
}

TEST(DisplayCopyCache, ChangeInPlaceMakesANewCopy)
{
    DisplayCopyCache cache;
    const auto picture = DistinctPicture(40, 30);
    cache.Get(picture, 0, 20, 15);
    ASSERT_TRUE(picture->Crop(10, 0, 40, 30));
    const PLWinBmp* copy = cache.Get(picture, 0, 20, 15);
    EXPECT_EQ(cache.CopiesMade(), 2u);
    EXPECT_EQ(cache.Size(), 1u); // the stale copy is gone
    EXPECT_EQ(copy->GetPixel32(0, 0).GetR(), 100); // picture column 10 now comes first
}

TEST(DisplayCopyCache, PictureThatIsGoneLeavesNoCopyBehind)
{
    DisplayCopyCache cache;
    auto picture = DistinctPicture(40, 30);
    cache.Get(picture, 0, 20, 15);
    picture.reset();
    cache.Get(DistinctPicture(8, 8), 0, 4, 4);
    EXPECT_EQ(cache.Size(), 1u);
}

TEST(DisplayCopyCache, CopyIsNeverLargerThanThePictureAndOldCopiesMakeRoom)
{
    DisplayCopyCache cache(2);
    const auto picture = DistinctPicture(40, 30);
    EXPECT_EQ(cache.Get(picture, 1, 100000, 100000)->GetSize(), PLCoord(30, 40));
    EXPECT_EQ(cache.Get(picture, 0, 0, 10), nullptr);
    EXPECT_EQ(cache.Get(std::make_shared<Pellimar::DeviceIndepBitmap>(), 0, 10, 10), nullptr);
    cache.Get(picture, 0, 10, 10);
    cache.Get(picture, 0, 11, 10);
    EXPECT_EQ(cache.Size(), 2u);
}

} // namespace
