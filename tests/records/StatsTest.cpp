#include "records/Stats.h"
#include "records/Stopwatch.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Samples = std::vector<std::pair<uint32_t, double>>;

struct AverageCase {
    const char* name;
    uint32_t window;
    Samples samples;
    std::size_t kept;
    double result;
};

TEST(StatsRollingAverage, Table)
{
    const std::vector<AverageCase> cases = {
        { "empty", 1000, {}, 0, 0.0 },
        { "oldest outside window", 1000, { { 0, 1.0 }, { 500, 2.0 }, { 1400, 3.0 } }, 2, 2.5 },
        { "difference equal to window drops", 1000, { { 0, 1.0 }, { 500, 2.0 }, { 1500, 3.0 } }, 1, 3.0 },
        { "single sample stays", 1000, { { 5000, 4.0 } }, 1, 4.0 },
        { "window 0 keeps nothing", 0, { { 1, 4.0 }, { 2, 6.0 } }, 0, 0.0 },
        { "tick going backwards starts afresh", 1000, { { 500, 1.0 }, { 600, 2.0 }, { 100, 7.0 } }, 1, 7.0 },
        // Still within the window of the oldest sample, so that only the reset drops the others.
        { "tick going back a little starts afresh", 1000, { { 500, 1.0 }, { 600, 2.0 }, { 550, 7.0 } }, 1,
            7.0 },
        { "equal ticks are not backwards", 1000, { { 100, 1.0 }, { 100, 3.0 } }, 2, 2.0 },
    };
    for (const auto& c : cases) {
        StatsRollingAverage stats(c.window);
        for (const auto& [ticks, value] : c.samples)
            stats.AddSample(ticks, value);
        EXPECT_EQ(stats.Samples().size(), c.kept) << c.name;
        EXPECT_DOUBLE_EQ(stats.GetResult(), c.result) << c.name;
        double sum = 0;
        uint32_t tickSum = 0;
        for (const auto& sample : stats.Samples()) {
            sum += sample.value;
            tickSum += sample.ticks;
        }
        EXPECT_DOUBLE_EQ(stats.ValueSum(), sum) << c.name;
        EXPECT_EQ(stats.TickSum(), tickSum) << c.name;
    }
}

TEST(StatsSysUsage, BusySharePercent)
{
    StatsSysUsage usage(600000);
    EXPECT_EQ(usage.GetResult(), 0.0);
    usage.AddSample(1000, 50.0);
    EXPECT_EQ(usage.GetResult(), 0.0) << "no time covered yet";
    usage.AddSample(2000, 100.0);
    EXPECT_DOUBLE_EQ(usage.GetResult(), 15.0);
    usage.Reset();
    EXPECT_TRUE(usage.Samples().empty());
    EXPECT_EQ(usage.ValueSum(), 0.0);
}

TEST(StatsSysUsage, SamplesNowReadTheInjectedTicks)
{
    uint32_t now = 4000;
    StatsSysUsage usage(600000, [&] { return now; });
    usage.AddSampleNow(10.0);
    now = 5000;
    usage.AddSampleNow(0.0);
    EXPECT_DOUBLE_EQ(usage.GetResult(), 1.0);
    ASSERT_EQ(usage.Samples().size(), 2u);
    EXPECT_EQ(usage.Samples().front().ticks, 5000u) << "newest first";

    now = 10; // the tick counter went backwards
    usage.AddSampleNow(3.0);
    ASSERT_EQ(usage.Samples().size(), 1u);
    EXPECT_EQ(usage.ValueSum(), 3.0);
}

TEST(StatsSysUsage, WrappingTickCounterStillCoversTheSpan)
{
    uint32_t now = 0xFFFFFF00u;
    StatsSysUsage usage(600000, [&] { return now; });
    usage.AddSampleNow(0.0);
    now = 0xFFFFFFFFu;
    usage.AddSampleNow(51.0);
    EXPECT_DOUBLE_EQ(usage.GetResult(), 20.0); // 51 busy over 255 ticks
}

TEST(Stopwatch, ElapsedAndStopped)
{
    uint32_t now = 100;
    Stopwatch watch([&] { return now; });
    now = 350;
    EXPECT_EQ(watch.Elapsed(), 250u);
    watch.Stop();
    now = 1000;
    EXPECT_EQ(watch.Elapsed(), 250u);
}

} // namespace
