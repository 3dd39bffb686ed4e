// Several threads requesting, reprocessing, removing, resetting and resizing one cache at once:
// every request for a good file gets its picture, also while other threads hold theirs and read
// their pixels. (Run under the sanitizers, this is where a lock missing from an operation shows,
// and, under ThreadSanitizer, a picture changed while another thread reads it.)
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/wrapper/ImageCacheTestSupport.h"

#include <atomic>
#include <thread>
#include <vector>

namespace {

using namespace cachetest;

TEST_F(CacheTest, ThreadsRequestResetAndResizeAtOnce)
{
    // The system clock: no request here waits, so nothing sleeps.
    m_Cache.SetClock(MillisecondClock {});
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i)
        names.push_back(Jpeg("t" + std::to_string(i) + ".jpg", 8 + i, 8));
    std::atomic<int> failures { 0 };
    std::atomic<unsigned> pixelsRead { 0 };
    const auto worker = [&](int seed) {
        uint32_t state = static_cast<uint32_t>(seed) * 2654435761u + 1;
        std::vector<ImageCache::Picture> held;
        unsigned pixelSum = 0;
        for (int step = 0; step < 150; ++step) {
            state = state * 1664525u + 1013904223u;
            const uint32_t pick = state >> 24;
            const std::string& name = names[pick % names.size()];
            ImageResult result;
            switch (pick % 8) {
            case 0:
                m_Cache.Reset();
                break;
            case 1:
                m_Cache.SetSize(1 + pick % 5, pick % 2 == 0);
                break;
            case 2: {
                ImageAdjustments adjustments;
                adjustments.red = 10;
                m_Cache.Reprocess(name, result, adjustments, false);
                break;
            }
            case 3:
                m_Cache.Remove(name);
                break;
            default: {
                ImageCache::Picture picture = m_Cache.GetImage(name, result);
                if (!picture || result.severity != 0)
                    ++failures;
                else
                    held.push_back(std::move(picture));
                // Drawing a picture held reads its pixels outside the cache's lock: no other
                // thread may be changing them meanwhile.
                for (const ImageCache::Picture& drawn : held)
                    pixelSum += drawn->GetBitmap()->GetRow(0)[0];
                if (held.size() > 3)
                    held.erase(held.begin());
            }
            }
            m_Cache.Contains(name);
        }
        pixelsRead += pixelSum;
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(worker, t);
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    ImageResult result;
    m_Cache.SetSize(3, true);
    EXPECT_TRUE(m_Cache.GetImage(names[0], result));
    EXPECT_EQ(m_Cache.GetSlotCount(), 3u);
}

} // namespace
