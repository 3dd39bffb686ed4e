// The image cache when things go wrong: damaged and unsettled files, growth from tiny sizes,
// purges during a load, stale out-of-memory codes, failures part-way through the adjustments and
// failed reprocessing. Each case is one where the cache must neither hang, nor name a picture it
// does not hold, nor report a failure as success.
#include "imaging/wrapper/ImageCacheTestSupport.h"

#include <fstream>
#include <vector>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/ImageCacheLoading.h"

namespace {

using namespace cachetest;
using Picture = ImageCache::Picture;

// The first bytes of a good JPEG, as a file still being written holds them.
jpegfixtures::Bytes Truncated(const jpegfixtures::Bytes& jpeg)
{
    return jpegfixtures::Bytes(jpeg.begin(), jpeg.begin() + 20);
}

TEST_F(CacheTest, ADamagedFileFailsAtOnceUnlessTheCallerWaits)
{
    const jpegfixtures::Bytes good = jpegfixtures::MakeJpeg({});
    const std::string path = jpegfixtures::WriteFile(Path("damaged.jpg"), Truncated(good));
    ImageResult result;
    EXPECT_FALSE(m_Cache.GetImage(path, result));
    EXPECT_EQ(result.severity, 5);
    EXPECT_EQ(m_Clock.sleeps, 0); // no retries: a repaint must not freeze on a damaged photograph
    EXPECT_FALSE(m_Cache.Contains(path));

    // Waiting: retried every 250 ms for 20 s, then given up.
    EXPECT_FALSE(m_Cache.GetImage(path, result, true));
    EXPECT_EQ(result.severity, 5);
    EXPECT_GE(m_Clock.slept, 20000u);
    EXPECT_LE(m_Clock.slept, 20000u + 500u + 250u);

    // Waiting for a file whose writer finishes during the retries.
    m_Clock = {};
    int retries = 0;
    m_Clock.onSleep = [&] {
        if (++retries == 4)
            jpegfixtures::WriteFile(path, good);
    };
    m_Cache.SetClock(m_Clock.Make());
    EXPECT_TRUE(m_Cache.GetImage(path, result, true));
    EXPECT_EQ(result, ImageResult {});
    EXPECT_EQ(m_Clock.sleeps, 4);
}

TEST_F(CacheTest, WaitingTakesAFileAsSettledWhenItsSizeStopsChanging)
{
    struct Case {
        const char* what;
        int growths; // the writer appends at this many sleeps (-1: at every one)
        bool empty; // the file starts empty
        bool loads;
        int sleeps; // how often the cache slept, when it loads
    };
    const Case cases[] = {
        { "a small finished file", 0, false, true, 1 },
        { "a file growing for three looks", 3, false, true, 4 },
        { "an empty file", 0, true, false, 0 },
        { "a file that keeps growing", -1, false, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path
            = c.empty ? jpegfixtures::WriteFile(Path("settle.jpg"), {}) : Jpeg("settle.jpg");
        m_Clock = {};
        m_Clock.onSleep = [&] {
            if (c.growths < 0 || m_Clock.sleeps <= c.growths)
                std::ofstream(path, std::ios::app | std::ios::binary) << "more";
        };
        m_Cache.SetClock(m_Clock.Make());
        m_Cache.Reset();
        ImageResult result { "stale success", 0, 0 };
        const Picture picture = m_Cache.GetImage(path, result, true);
        EXPECT_EQ(bool(picture), c.loads);
        if (c.loads) {
            EXPECT_EQ(result, ImageResult {});
            EXPECT_EQ(m_Clock.sleeps, c.sleeps);
        } else {
            // Never settled: a failure worth retrying later, after 20 s and no more.
            EXPECT_EQ(result.severity, 5);
            EXPECT_EQ(result.code, PL_ERR_END_OF_FILE);
            EXPECT_GT(m_Clock.slept, 20000u);
            EXPECT_LE(m_Clock.slept, 20500u);
        }
    }
}

TEST_F(CacheTest, AProbeWaitsForTheFileWithoutLoadingIt)
{
    const std::string path = Jpeg("probe.jpg");
    Pellimar::DeviceIndepBitmap picture;
    ImageResult result;
    LoadStatus status = LoadStatus::Failed;
    EXPECT_TRUE(LoadImageFile(m_Cache, picture, path, result, true, status, true));
    EXPECT_EQ(m_Clock.sleeps, 0); // a settled file answers at once
    EXPECT_FALSE(picture.GetBitmap());
    EXPECT_FALSE(m_Cache.GetImage(path, result, true, std::nullopt, true));
    EXPECT_FALSE(m_Cache.Contains(path));

    // A file that never settles (still empty) is given up after 20 s, with pauses between the looks
    // rather than a spin.
    const std::string empty = jpegfixtures::WriteFile(Path("empty.jpg"), {});
    EXPECT_FALSE(LoadImageFile(m_Cache, picture, empty, result, true, status, true));
    EXPECT_EQ(status, LoadStatus::NotSettled);
    EXPECT_GT(m_Clock.slept, 20000u);
}

TEST_F(CacheTest, LoadStatusOfTheFileLoader)
{
    Pellimar::DeviceIndepBitmap picture;
    ImageResult result;
    LoadStatus status = LoadStatus::Loaded;
    EXPECT_FALSE(LoadImageFile(m_Cache, picture, Path("none.jpg"), result, true, status, false));
    EXPECT_EQ(status, LoadStatus::NotFound);
    EXPECT_EQ(result.code, PL_ERR_FILE_NOT_FOUND);
    const std::string damaged = jpegfixtures::WriteFile(Path("d.jpg"), Truncated(jpegfixtures::MakeJpeg({})));
    EXPECT_TRUE(LoadImageFile(m_Cache, picture, damaged, result, false, status, false));
    EXPECT_EQ(status, LoadStatus::Failed);
    EXPECT_TRUE(LoadImageFile(m_Cache, picture, Jpeg("g.jpg"), result, true, status, false));
    EXPECT_EQ(status, LoadStatus::Loaded);
    EXPECT_EQ(picture.GetLoadState(), 0);
}

TEST_F(CacheTest, GrowsByAtLeastOneSlot)
{
    for (const uint32_t size : { 0u, 1u }) {
        SCOPED_TRACE(size);
        m_Cache.SetSize(size, true);
        m_Cache.Reset();
        ImageResult result;
        std::vector<Picture> held;
        for (int i = 0; i < 3; ++i) {
            held.push_back(m_Cache.GetImage(Jpeg("g" + std::to_string(i) + ".jpg"), result));
            ASSERT_TRUE(held.back()) << i;
        }
        EXPECT_EQ(m_Cache.GetSlotCount(), 3u);
        held.clear();
        ASSERT_TRUE(m_Cache.GetImage(Path("g0.jpg"), result));
        EXPECT_EQ(m_Cache.GetSlotCount(), std::max(size, 1u));
    }
}

TEST_F(CacheTest, ShrinkingRemovesEveryFreeSlotBeyondTheConfiguredSize)
{
    m_Cache.SetSize(1, true);
    ImageResult result;
    Picture a = m_Cache.GetImage(Jpeg("a.jpg"), result);
    Picture b = m_Cache.GetImage(Jpeg("b.jpg"), result);
    const Picture c = m_Cache.GetImage(Jpeg("c.jpg"), result);
    ASSERT_EQ(m_Cache.GetSlotCount(), 3u);
    a.reset();
    b.reset();
    // The hit on c moves it to the front; the two free slots that follow it are both removed.
    ASSERT_EQ(m_Cache.GetImage(Path("c.jpg"), result), c);
    EXPECT_EQ(m_Cache.GetNames(), std::vector<std::string> { Path("c.jpg") });
}

TEST_F(CacheTest, TheSlotLoadedIntoIsFoundAgainAfterAPurgeMovedIt)
{
    m_Cache.SetSize(3, true);
    ImageResult result;
    const std::string a = Jpeg("a.jpg"), b = Jpeg("b.jpg"), c = Jpeg("c.jpg", 8, 16);
    ASSERT_TRUE(m_Cache.GetImage(a, result));
    ASSERT_TRUE(m_Cache.GetImage(b, result));
    // c goes into the third slot; running out of memory there purges the first, moving it down.
    int failures = 1;
    m_Cache.SetOutOfMemorySeam([&](CacheStep step) { return step == CacheStep::Decode && failures-- > 0; });
    const Picture picture = m_Cache.GetImage(c, result);
    ASSERT_TRUE(picture);
    EXPECT_EQ(m_Cache.GetNames(), (std::vector<std::string> { b, c }));
    EXPECT_EQ(m_Cache.GetImage(c, result), picture);
    EXPECT_EQ(picture->GetSize(), PLCoord(8, 16));
}

TEST_F(CacheTest, OutOfMemoryPartWayThroughTheAdjustmentsStartsAgainFromThePristinePicture)
{
    const std::string path = Jpeg("adjust.jpg");
    ImageResult result;
    Pellimar::DeviceIndepBitmap reference;
    reference = *m_Cache.GetImage(path, result);
    ASSERT_TRUE(reference.ApplyColor(40, 0, 0, false));
    m_Cache.Reset();

    // The third step (hue, saturation and brightness) runs out of memory once, after the colour
    // offsets were applied.
    int steps = 0;
    m_Cache.SetOutOfMemorySeam([&](CacheStep step) { return step == CacheStep::Adjust && ++steps == 3; });
    ImageAdjustments adjustments;
    adjustments.red = 40;
    const Picture picture = m_Cache.GetImage(path, result, false, adjustments);
    ASSERT_TRUE(picture);
    EXPECT_EQ(result, ImageResult {});
    EXPECT_GT(steps, 5);
    EXPECT_TRUE(*picture->GetBitmap() == *reference.GetBitmap()); // red raised by 40 once, not twice

    // Without a pristine picture there is nothing to start again from.
    Pellimar::DeviceIndepBitmap loose;
    loose = *picture;
    steps = 0;
    EXPECT_FALSE(ApplyImageAdjustments(m_Cache, loose, adjustments, nullptr));
    EXPECT_EQ(loose.GetLastResult().code, PL_ERR_NO_MEMORY);
}

TEST_F(CacheTest, AFailedAdjustmentFailsTheLoad)
{
    m_Cache.SetSize(1, true);
    m_Cache.SetOutOfMemorySeam([](CacheStep step) { return step == CacheStep::Adjust; });
    ImageAdjustments adjustments;
    adjustments.contrast = 5;
    ImageResult result;
    const std::string path = Jpeg("a.jpg");
    EXPECT_FALSE(m_Cache.GetImage(path, result, false, adjustments));
    EXPECT_EQ(result.code, PL_ERR_NO_MEMORY);
    EXPECT_FALSE(m_Cache.Contains(path));
}

TEST_F(CacheTest, AStaleOutOfMemoryCodeTriggersNoPurge)
{
    const std::string path = Jpeg("a.jpg");
    Pellimar::DeviceIndepBitmap work;
    work.ResultFromException(PLTextException(PL_ERR_NO_MEMORY, "from an earlier load"));
    const auto pristine = std::make_shared<Pellimar::DeviceIndepBitmap>();
    ImageResult result;
    EXPECT_TRUE(LoadImageIntoSlot(m_Cache, work, path, result, false, std::nullopt, false, pristine));
    EXPECT_EQ(pristine->GetLastResult(), ImageResult {});

    // A probe loads nothing: the caller's old out-of-memory result is no reason to purge either.
    LoadStatus status = LoadStatus::Failed;
    result = { "Out of memory!!: earlier", 5, PL_ERR_NO_MEMORY };
    EXPECT_TRUE(LoadImageFile(m_Cache, work, path, result, false, status, true));
    EXPECT_EQ(m_Cache.GetConfiguredSize(), ImageCache::kInitialSize);
    EXPECT_EQ(m_Cache.GetSlotCount(), ImageCache::kInitialSize);
}

TEST_F(CacheTest, AFailedReprocessGivesUpTheName)
{
    const std::string path = Jpeg("a.jpg");
    ImageResult result;
    ASSERT_TRUE(m_Cache.GetImage(path, result));
    m_Cache.SetOutOfMemorySeam([](CacheStep step) { return step == CacheStep::Copy; });
    EXPECT_FALSE(m_Cache.Reprocess(path, result, std::nullopt, true));
    EXPECT_EQ(result.code, PL_ERR_NO_MEMORY);
    EXPECT_FALSE(m_Cache.Contains(path));

    // A missing file is reported, not passed over.
    result = {};
    EXPECT_FALSE(m_Cache.Reprocess(Path("missing.jpg"), result, std::nullopt, false));
    EXPECT_EQ(result.severity, 7);
}

} // namespace
