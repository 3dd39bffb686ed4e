// What the image cache tests share: a folder of small JPEG files made at test time, and a clock
// that moves only when the cache sleeps on it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/wrapper/ImageCache.h"

namespace cachetest {

// Time stands still until the cache sleeps; onSleep lets a test act as a writer meanwhile.
struct FakeClock {
    win::DWORD now = 4'294'960'000u; // close to the wrap of the tick count
    int sleeps = 0;
    win::DWORD slept = 0;
    std::function<void()> onSleep;

    MillisecondClock Make()
    {
        return { [this] { return now; },
            [this](win::DWORD ms) {
                now += ms;
                slept += ms;
                ++sleeps;
                if (onSleep)
                    onSleep();
            } };
    }
};

class CacheTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_Folder = std::filesystem::path(testing::TempDir())
            / ("orvanel-cache-" + std::to_string(::getpid()) + "-"
                + testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_Folder);
        m_Cache.SetClock(m_Clock.Make());
    }
    void TearDown() override { std::filesystem::remove_all(m_Folder); }

    std::string Path(const std::string& name) const { return (m_Folder / name).string(); }

    // A w x h JPEG of the fixtures' pattern.
    std::string Jpeg(
        const std::string& name, int w = 16, int h = 8, jpegfixtures::JpegRecipe recipe = {}) const
    {
        recipe.width = w;
        recipe.height = h;
        return jpegfixtures::WriteFile(Path(name), jpegfixtures::MakeJpeg(recipe));
    }

    std::filesystem::path m_Folder;
    FakeClock m_Clock;
    ImageCache m_Cache;
};

} // namespace cachetest
