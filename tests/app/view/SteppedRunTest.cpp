#include "app/view/SteppedRun.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

namespace {

struct RunCase {
    const char* name;
    SteppedRun run;
    WrappedInterval x;
    WrappedInterval y;
    friend void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }
};

// Point by point, in 64-bit arithmetic reduced modulo 2^32, the first index of each position.
std::vector<uint32_t> Reference(const RunCase& c)
{
    constexpr uint64_t mask = 0xFFFFFFFFu;
    const auto within = [](uint64_t value, const WrappedInterval& interval) {
        return ((value - interval.low) & mask) <= interval.length;
    };
    std::set<std::pair<uint64_t, uint64_t>> seen;
    std::vector<uint32_t> found;
    for (uint64_t i = 0; i < c.run.count; ++i) {
        const uint64_t x = (c.run.startX + i * c.run.stepX) & mask;
        const uint64_t y = (c.run.startY + i * c.run.stepY) & mask;
        if (seen.insert({ x, y }).second && within(x, c.x) && within(y, c.y))
            found.push_back(static_cast<uint32_t>(i));
    }
    return found;
}

class SteppedRunCases : public ::testing::TestWithParam<RunCase> { };

TEST_P(SteppedRunCases, FindsWhatAPointByPointSearchFinds)
{
    const RunCase& c = GetParam();
    EXPECT_EQ(RunIndicesWithin(c.run, c.x, c.y), Reference(c));
}

constexpr uint32_t Neg(uint32_t value)
{
    return 0u - value;
}

// Counts beyond the window's size are searched value by value, smaller ones index by index; steps
// with factors 2 come round to earlier positions, steps near 2^32 / 3 wrap at every step.
INSTANTIATE_TEST_SUITE_P(All, SteppedRunCases,
    ::testing::Values(
        RunCase { "few_copies_down", { 50, 150, 0, 850, 5 }, { Neg(2000), 6000 }, { Neg(810), 3750 } },
        RunCase { "many_copies_odd_step", { 7, 11, 0, 12345, 50000 }, { 0, 100 }, { 0, 3000 } },
        RunCase { "many_copies_even_step", { 0, 150, 0, 850, 50000 }, { 0, 10 }, { Neg(810), 3750 } },
        RunCase { "step_of_a_large_power_of_two", { 0, 3, 0, 1u << 28, 50000 }, { 0, 0 }, { 0, 10 } },
        RunCase { "wrapping_step", { 50, 150, 0, 1431656132, 50000 }, { 0, 2100 }, { Neg(810), 3750 } },
        RunCase { "both_axes_step", { 5, 9, 3 << 20, 6, 50000 }, { 0, 1u << 22 }, { 0, 2000 } },
        RunCase { "x_has_the_longer_period", { 1, 2, 77, 1u << 20, 50000 }, { 0, 5000 }, { 0, 1u << 24 } },
        RunCase { "upward_steps", { 0, 150, 0, Neg(100), 50000 }, { 0, 0 }, { Neg(810), 3750 } },
        RunCase { "no_step", { 50, 150, 0, 0, 50000 }, { 0, 100 }, { 0, 200 } },
        RunCase { "no_step_off_the_page", { 50, 5000, 0, 0, 50000 }, { 0, 100 }, { 0, 200 } },
        RunCase { "whole_circle", { 0, 0, 0, 1u << 31, 7 }, { 0, 0xFFFFFFFFu }, { 0, 0xFFFFFFFFu } },
        RunCase { "no_copies", { 0, 0, 0, 1, 0 }, { 0, 10 }, { 0, 10 } }),
    [](const auto& info) { return std::string(info.param.name); });

// A count of 2^32 - 1 costs no more than a small one: the search goes by the window's values.
TEST(SteppedRun, HugeCountsAreSearchedByValue)
{
    const SteppedRun run { 50, 150, 0, 850, 0xFFFFFFFFu };
    const std::vector<uint32_t> found = RunIndicesWithin(run, { 0, 2100 }, { Neg(810), 3750 });
    ASSERT_EQ(found.size(), 1876u); // every even anchor from -810 to 2940
    EXPECT_EQ(
        std::vector<uint32_t>(found.begin(), found.begin() + 4), (std::vector<uint32_t> { 0, 1, 2, 3 }));
    // 150 + 850 i comes round to -810 + 2k: the copies beyond the first lap land between.
    for (const uint32_t i : found) {
        const auto y = static_cast<int32_t>(150u + i * 850u);
        EXPECT_TRUE(y >= -810 && y <= 2940) << i;
    }
}

} // namespace
