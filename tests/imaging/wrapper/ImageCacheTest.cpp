// The image cache: sharing by exact name, growing, shrinking and resetting, turned hits, missing
// files, adjustments, out-of-memory purges and the process-wide cache.
#include "imaging/wrapper/ImageCacheTestSupport.h"

#include <vector>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/ImageCacheLoading.h"

namespace {

using namespace cachetest;
using Picture = ImageCache::Picture;

TEST_F(CacheTest, TwoRequestsLoadOnceAndShareOnePicture)
{
    int decodes = 0;
    m_Cache.SetOutOfMemorySeam([&](CacheStep step) {
        decodes += step == CacheStep::Decode;
        return false;
    });
    const std::string path = Jpeg("a.jpg");
    ImageResult result;
    const Picture first = m_Cache.GetImage(path, result);
    const Picture second = m_Cache.GetImage(path, result);
    ASSERT_TRUE(first);
    EXPECT_EQ(first, second);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(result, ImageResult {});
    EXPECT_EQ(first->GetLoadState(), 0);
    EXPECT_EQ(first->GetJpegQuality(), 95);
    EXPECT_TRUE(m_Cache.Contains(path));
}

TEST_F(CacheTest, NamesAreComparedExactly)
{
    const std::string lower = Jpeg("photo.jpg", 16, 8);
    const std::string upper = Jpeg("Photo.jpg", 8, 16);
    const std::string dotted = (m_Folder / "." / "photo.jpg").string();
    ImageResult result;
    const Picture a = m_Cache.GetImage(lower, result);
    const Picture b = m_Cache.GetImage(upper, result);
    const Picture c = m_Cache.GetImage(dotted, result);
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a, b);
    EXPECT_NE(a, c); // the same file under another spelling is another picture
    EXPECT_EQ(b->GetSize(), PLCoord(8, 16));
    EXPECT_FALSE(m_Cache.Contains((m_Folder / "PHOTO.JPG").string()));
}

TEST_F(CacheTest, GrowsWhenEverySlotIsHeldAndShrinksBackWhenReleased)
{
    m_Cache.SetSize(5, true);
    std::vector<Picture> held;
    ImageResult result;
    for (int i = 0; i < 5; ++i)
        held.push_back(m_Cache.GetImage(Jpeg("held" + std::to_string(i) + ".jpg"), result));
    ASSERT_EQ(m_Cache.GetSlotCount(), 5u);
    // A sixth picture: 5 + 5 / 2 = 7 slots, the first new one loaded, the other removed at once.
    const std::string sixth = Jpeg("sixth.jpg");
    held.push_back(m_Cache.GetImage(sixth, result));
    ASSERT_TRUE(held.back());
    EXPECT_EQ(m_Cache.GetSlotCount(), 6u);
    EXPECT_EQ(m_Cache.GetNames()[5], sixth);
    held.clear();
    EXPECT_TRUE(m_Cache.GetImage(sixth, result)); // a hit, after which the cache is back to 5
    EXPECT_EQ(m_Cache.GetSlotCount(), 5u);
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 5u);
    EXPECT_TRUE(m_Cache.Contains(sixth));
}

TEST_F(CacheTest, AHitOnATurnedPictureComesBackAsLoaded)
{
    const std::string path = Jpeg("wide.jpg", 24, 8);
    ImageResult result;
    const Picture picture = m_Cache.GetImage(path, result);
    ASSERT_TRUE(picture->Rotate(1)); // as a painter turns it for a unit
    ASSERT_EQ(picture->GetSize(), PLCoord(8, 24));
    const Picture again = m_Cache.GetImage(path, result);
    EXPECT_EQ(again, picture);
    EXPECT_EQ(again->GetQuarterTurns(), 0);
    EXPECT_EQ(again->GetSize(), PLCoord(24, 8));
}

TEST_F(CacheTest, AMissingFileGivesNoPictureSeverity7AndNoNamedSlot)
{
    struct Case {
        const char* what;
        std::string name;
        bool wait;
    };
    const Case cases[] = {
        { "missing file", Path("missing.jpg"), false },
        { "missing file, waiting", Path("missing.jpg"), true },
        { "missing folder", Path("no-folder/missing.jpg"), false },
        { "missing folder, waiting", Path("no-folder/missing.jpg"), true },
        { "a folder", m_Folder.string(), true },
        { "empty name", "", false },
        { "empty name, waiting", "", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ImageResult result { "stale", 0, 0 };
        EXPECT_FALSE(m_Cache.GetImage(c.name, result, c.wait));
        EXPECT_EQ(result.severity, 7);
        EXPECT_FALSE(m_Cache.Contains(c.name));
        for (const std::string& name : m_Cache.GetNames())
            EXPECT_EQ(name, "");
        EXPECT_EQ(m_Clock.sleeps, 0);
    }
}

TEST_F(CacheTest, OutOfMemoryPurgesAndLowersTheConfiguredSizeForGood)
{
    m_Cache.SetSize(5, true);
    ImageResult result;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(m_Cache.GetImage(Jpeg("p" + std::to_string(i) + ".jpg"), result));
    int failures = 1;
    m_Cache.SetOutOfMemorySeam([&](CacheStep step) { return step == CacheStep::Decode && failures-- > 0; });
    const Picture picture = m_Cache.GetImage(Jpeg("big.jpg"), result);
    ASSERT_TRUE(picture);
    EXPECT_EQ(result, ImageResult {});
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 4u);
    EXPECT_EQ(m_Cache.GetSlotCount(), 4u);
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(m_Cache.GetImage(Jpeg("q" + std::to_string(i) + ".jpg"), result));
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 4u);
    EXPECT_EQ(m_Cache.GetSlotCount(), 4u);
}

// A picture beyond the library's size limit fails like any bad file: memory did not run out, so
// the cache keeps its size.
TEST_F(CacheTest, APictureBeyondTheSizeLimitLeavesTheCacheItsSize)
{
    m_Cache.SetSize(5, true);
    ImageResult result;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(m_Cache.GetImage(Jpeg("p" + std::to_string(i) + ".jpg"), result));
    EXPECT_FALSE(m_Cache.GetImage(Jpeg("wide.jpg", 33000, 16), result));
    EXPECT_EQ(result.code, PL_ERR_DIB_TOO_LARGE);
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 5u);
    EXPECT_EQ(m_Cache.GetSlotCount(), 5u);
}

TEST_F(CacheTest, OutOfMemoryWithNothingToPurgeFails)
{
    m_Cache.SetSize(1, true);
    m_Cache.SetOutOfMemorySeam([](CacheStep step) { return step == CacheStep::Decode; });
    ImageResult result;
    EXPECT_FALSE(m_Cache.GetImage(Jpeg("a.jpg"), result));
    EXPECT_EQ(result.code, PL_ERR_NO_MEMORY);
    EXPECT_EQ(result.severity, 5);
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 1u);
}

// Starting a picture again from the picture as loaded uses it as a hit does: it is the last to be
// reused, and a work picture nobody holds is redone in place rather than beside a new one.
TEST_F(CacheTest, AReprocessedPictureIsTheLastToBeReused)
{
    m_Cache.SetSize(3, true);
    ImageResult result;
    const std::string first = Jpeg("first.jpg", 16, 8);
    const std::string second = Jpeg("second.jpg", 16, 8);
    const Pellimar::DeviceIndepBitmap* work = m_Cache.GetImage(first, result).get();
    ASSERT_TRUE(m_Cache.GetImage(second, result));
    EXPECT_EQ(m_Cache.Reprocess(first, result, std::nullopt, false).get(), work);
    ASSERT_TRUE(m_Cache.GetImage(Jpeg("third.jpg", 16, 8), result));
    ASSERT_TRUE(m_Cache.GetImage(Jpeg("fourth.jpg", 16, 8), result));
    EXPECT_TRUE(m_Cache.Contains(first));
    EXPECT_FALSE(m_Cache.Contains(second));
}

TEST_F(CacheTest, ResetLeavesConfiguredEmptySlotsWhileCallersKeepTheirPictures)
{
    m_Cache.SetSize(3, true);
    ImageResult result;
    std::vector<Picture> held;
    for (int i = 0; i < 4; ++i)
        held.push_back(m_Cache.GetImage(Jpeg("r" + std::to_string(i) + ".jpg", 16 + i, 8), result));
    ASSERT_EQ(m_Cache.GetSlotCount(), 4u);
    m_Cache.Reset();
    EXPECT_EQ(m_Cache.GetNames(), std::vector<std::string>(3));
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(held[i]->GetBitmap());
        EXPECT_EQ(held[i]->GetSize(), PLCoord(16 + i, 8));
        EXPECT_EQ(held[i].use_count(), 1);
    }
    const Picture again = m_Cache.GetImage(Path("r0.jpg"), result);
    EXPECT_NE(again, held[0]);
}

TEST_F(CacheTest, SetSizeAndRemove)
{
    ImageResult result;
    const std::string a = Jpeg("a.jpg");
    const std::string b = Jpeg("b.jpg");
    ASSERT_TRUE(m_Cache.GetImage(a, result));
    ASSERT_TRUE(m_Cache.GetImage(b, result));
    m_Cache.SetSize(12, false);
    EXPECT_EQ(m_Cache.GetSlotCount(), 12u);
    EXPECT_EQ(m_Cache.GetConfiguredSize(), 10u);
    m_Cache.Remove(a); // more slots than configured: the slot goes
    EXPECT_EQ(m_Cache.GetSlotCount(), 11u);
    EXPECT_FALSE(m_Cache.Contains(a));
    m_Cache.SetSize(2, true);
    m_Cache.Remove(b); // as many as configured: the slot stays, free
    EXPECT_EQ(m_Cache.GetSlotCount(), 2u);
    EXPECT_FALSE(m_Cache.Contains(b));
}

// A loaded picture and the copy kept as loaded share one set of pixels until the picture handed
// out changes; a crop of it copies only what it keeps, and starting again from the picture as
// loaded shares again.
TEST_F(CacheTest, WorkAndPristinePicturesSharePixelsUntilTheWorkChanges)
{
    const std::string path = Jpeg("shared.jpg", 64, 48);
    ImageResult result;
    const Picture pristine = m_Cache.GetImage(path, result, false, std::nullopt, false, true);
    const Picture work = m_Cache.GetImage(path, result);
    ASSERT_TRUE(pristine && work);
    ASSERT_NE(pristine, work);
    EXPECT_EQ(work->GetBitmap(), pristine->GetBitmap());
    ASSERT_TRUE(work->Crop(8, 0, 56, 48));
    EXPECT_NE(work->GetBitmap(), pristine->GetBitmap());
    EXPECT_EQ(pristine->GetSize(), PLCoord(64, 48));
    const Picture again = m_Cache.Reprocess(path, result, std::nullopt, false);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->GetSize(), PLCoord(64, 48));
    EXPECT_EQ(again->GetBitmap(), pristine->GetBitmap());
}

// A decode scale set for a file decodes it reduced inside the JPEG decoder from its next load on;
// the picture says at which scale it was decoded. Removing the name lets the slot's pictures go.
TEST_F(CacheTest, DecodeScaleAppliesFromTheNextLoad)
{
    const std::string path = Jpeg("scaled.jpg", 64, 48);
    ImageResult result;
    EXPECT_FALSE(m_Cache.HasDecodeScale(path));
    EXPECT_EQ(m_Cache.GetDecodeScale(path), 1);
    const Picture full = m_Cache.GetImage(path, result);
    ASSERT_TRUE(full);
    m_Cache.SetDecodeScale(path, 4);
    EXPECT_EQ(m_Cache.GetImage(path, result), full) << "a picture held keeps its size";
    EXPECT_EQ(full->GetSize(), PLCoord(64, 48));
    EXPECT_EQ(full.use_count(), 2);
    m_Cache.Remove(path);
    EXPECT_EQ(full.use_count(), 1) << "the freed slot still held the picture";
    const Picture reduced = m_Cache.GetImage(path, result);
    ASSERT_TRUE(reduced);
    EXPECT_EQ(reduced->GetSize(), PLCoord(16, 12));
    EXPECT_EQ(reduced->GetDecodeScale(), 4);
    EXPECT_EQ(full->GetDecodeScale(), 1);
    EXPECT_TRUE(m_Cache.HasDecodeScale(path));
    m_Cache.SetDecodeScale(path, 3); // not a scale libjpeg gives: forgotten
    EXPECT_FALSE(m_Cache.HasDecodeScale(path));
}

TEST_F(CacheTest, AdjustmentsApplyToTheWorkPictureAndAreRedoneFromThePristineOne)
{
    const std::string path = Jpeg("adjust.jpg", 16, 8);
    ImageResult result;
    Pellimar::DeviceIndepBitmap reference;
    {
        const Picture plain = m_Cache.GetImage(path, result);
        reference = *plain;
    }
    m_Cache.Reset();
    ImageAdjustments adjustments;
    adjustments.quarterTurns = 1;
    adjustments.red = 40;
    const Picture work = m_Cache.GetImage(path, result, false, adjustments);
    ASSERT_TRUE(work);
    ASSERT_TRUE(reference.Rotate(1) && reference.ApplyColor(40, 0, 0, false));
    EXPECT_TRUE(*work->GetBitmap() == *reference.GetBitmap());
    const Picture pristine = m_Cache.GetImage(path, result, false, std::nullopt, false, true);
    EXPECT_EQ(pristine->GetSize(), PLCoord(16, 8));
    EXPECT_EQ(pristine->GetQuarterTurns(), 0);

    // Reprocessing starts from the pristine picture: the red offset is not added twice.
    const Picture again = m_Cache.Reprocess(path, result, adjustments, true);
    ASSERT_TRUE(again);
    EXPECT_TRUE(*again->GetBitmap() == *reference.GetBitmap());
    EXPECT_EQ(m_Cache.GetImage(path, result, false, adjustments), again);
    // A name the cache does not hold is loaded, unless asked not to.
    const std::string other = Jpeg("other.jpg");
    EXPECT_FALSE(m_Cache.Reprocess(other, result, adjustments, true));
    EXPECT_TRUE(m_Cache.Reprocess(other, result, adjustments, false));
    EXPECT_TRUE(m_Cache.Contains(other));
}

// A picture handed out may be drawn on another thread: reprocessing leaves it as it is and gives
// the slot a new picture, which later requests get. A preparation runs on a new picture before the
// cache hands it to anyone, on a load as on a reprocess, and not again on a hit.
TEST_F(CacheTest, APictureHandedOutIsNeverChangedByTheCache)
{
    const std::string path = Jpeg("held.jpg", 16, 8);
    ImageResult result;
    const Picture held = m_Cache.GetImage(path, result);
    ASSERT_TRUE(held);
    const Pellimar::DeviceIndepBitmap asHanded = *held;
    int prepared = 0;
    const auto cropLeft = [&](Pellimar::DeviceIndepBitmap& picture) {
        if (m_Cache.Contains(path)) {
            ImageResult inside;
            EXPECT_NE(m_Cache.GetImage(path, inside).get(), &picture) << "prepared after it was handed out";
        }
        ++prepared;
        EXPECT_TRUE(picture.Crop(0, 0, 8, 8));
    };
    ImageAdjustments adjustments;
    adjustments.red = 40;
    const Picture again = m_Cache.Reprocess(path, result, adjustments, false, cropLeft);
    ASSERT_TRUE(again);
    EXPECT_NE(again, held);
    EXPECT_EQ(prepared, 1);
    EXPECT_EQ(again->GetSize(), PLCoord(8, 8));
    EXPECT_EQ(held->GetSize(), PLCoord(16, 8));
    EXPECT_TRUE(*held->GetBitmap() == *asHanded.GetBitmap());
    EXPECT_EQ(m_Cache.GetImage(path, result), again);

    m_Cache.Reset();
    const Picture loaded = m_Cache.GetImage(path, result, false, std::nullopt, false, false, cropLeft);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(prepared, 2);
    EXPECT_EQ(loaded->GetSize(), PLCoord(8, 8));
    EXPECT_EQ(m_Cache.GetImage(path, result, false, std::nullopt, false, false, cropLeft), loaded);
    EXPECT_EQ(prepared, 2) << "a hit is prepared again";
}

// The adjustment steps, in the order a load applies them, as the reference applies each one alone.
using AdjustStep = bool (*)(Pellimar::DeviceIndepBitmap&);
constexpr AdjustStep kAdjustSteps[] = {
    [](Pellimar::DeviceIndepBitmap& p) { return p.Rotate(1); },
    [](Pellimar::DeviceIndepBitmap& p) { return p.ApplyColor(60, -30, 20, false); },
    [](Pellimar::DeviceIndepBitmap& p) { return p.ApplyHSB(40, 30, -20); },
    [](Pellimar::DeviceIndepBitmap& p) { return p.ApplyContrast(40); },
    [](Pellimar::DeviceIndepBitmap& p) { return p.ApplyLightness(-25, true); },
};
constexpr int kStepCount = static_cast<int>(std::size(kAdjustSteps));

// The loaded picture after the given steps, one after the other.
Pellimar::DeviceIndepBitmap AfterSteps(
    const Pellimar::DeviceIndepBitmap& loaded, const std::vector<int>& steps)
{
    Pellimar::DeviceIndepBitmap picture;
    picture = loaded;
    for (const int step : steps)
        EXPECT_TRUE(kAdjustSteps[step](picture));
    return picture;
}

bool SamePixels(const Pellimar::DeviceIndepBitmap& a, const Pellimar::DeviceIndepBitmap& b)
{
    return a.GetSize() == b.GetSize() && *a.GetBitmap() == *b.GetBitmap();
}

// The steps run in their order: turn, colour offsets, hue/saturation/brightness, contrast, lightness.
// The k-th step is made to fail, which leaves the picture as the steps before it made it; that must
// be the first k - 1 steps in order. Any two steps swapped leave a different picture at the first
// of the two places, which the fixture checks it can tell apart.
TEST_F(CacheTest, AdjustmentStepsRunInTheirOrder)
{
    const std::string path = Jpeg("order.jpg", 24, 8);
    ImageResult result;
    Pellimar::DeviceIndepBitmap loaded;
    loaded = *m_Cache.GetImage(path, result);
    ImageAdjustments adjustments;
    adjustments.quarterTurns = 1;
    adjustments.red = 60, adjustments.green = -30, adjustments.blue = 20;
    adjustments.hue = 40, adjustments.saturation = 30, adjustments.brightness = -20;
    adjustments.contrast = 40;
    adjustments.lightness = -25;

    std::vector<int> order;
    for (int failing = 0; failing <= kStepCount; ++failing) {
        SCOPED_TRACE("steps before the failing one: " + std::to_string(failing));
        if (failing < kStepCount) {
            std::vector<int> next = order;
            next.push_back(failing);
            const Pellimar::DeviceIndepBitmap inOrder = AfterSteps(loaded, next);
            for (int other = failing + 1; other < kStepCount; ++other) {
                std::vector<int> swapped = order;
                swapped.push_back(other);
                EXPECT_FALSE(SamePixels(AfterSteps(loaded, swapped), inOrder))
                    << "step " << other << " in place of step " << failing;
            }
        }
        int steps = 0;
        m_Cache.SetOutOfMemorySeam(
            [&](CacheStep step) { return step == CacheStep::Adjust && steps++ == failing; });
        Pellimar::DeviceIndepBitmap picture;
        picture = loaded;
        EXPECT_EQ(ApplyImageAdjustments(m_Cache, picture, adjustments, nullptr), failing == kStepCount);
        EXPECT_TRUE(SamePixels(picture, AfterSteps(loaded, order)));
        order.push_back(failing);
    }
}

TEST_F(CacheTest, ExifOrientationTurnsThePicture)
{
    struct Case {
        uint16_t orientation;
        int32_t quarterTurns;
    };
    const Case cases[] = { { 1, 0 }, { 3, 2 }, { 6, 1 }, { 8, 3 }, { 5, 0 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.orientation);
        jpegfixtures::JpegRecipe recipe;
        recipe.app1 = { jpegfixtures::MakeExifBlock(0x0112, c.orientation) };
        const std::string path = Jpeg("o" + std::to_string(c.orientation) + ".jpg", 24, 8, recipe);
        ImageAdjustments adjustments;
        adjustments.useExifOrientation = true;
        adjustments.quarterTurns = 2; // not used with the EXIF orientation
        ImageResult result;
        const Picture picture = m_Cache.GetImage(path, result, false, adjustments);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->GetQuarterTurns(), c.quarterTurns);
        EXPECT_EQ(picture->GetSize(), c.quarterTurns % 2 ? PLCoord(8, 24) : PLCoord(24, 8));
    }
}

TEST(ProcessWideCache, OneCacheWithAResetForTests)
{
    ImageCache& cache = GetImageCache();
    EXPECT_EQ(&cache, &GetImageCache());
    cache.SetSize(3, true);
    cache.SetOutOfMemorySeam([](CacheStep) { return true; });
    cache.RestoreInitialState();
    EXPECT_EQ(cache.GetSlotCount(), ImageCache::kInitialSize);
    EXPECT_EQ(cache.GetConfiguredSize(), ImageCache::kInitialSize);
    EXPECT_FALSE(cache.RunsOutOfMemory(CacheStep::Decode));
}

} // namespace
