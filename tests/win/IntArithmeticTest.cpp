#include "platform/win/IntArithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();

TEST(IntArithmetic, SaturatesSixtyFourBitValuesAtTheEndsOfTheRange)
{
    struct Case {
        int64_t in;
        int32_t out;
    };
    for (const Case c : { Case { 0, 0 }, { kMax32, int32_t(kMax32) }, { kMax32 + 1, int32_t(kMax32) },
             { kMin32, int32_t(kMin32) }, { kMin32 - 1, int32_t(kMin32) },
             { std::numeric_limits<int64_t>::max(), int32_t(kMax32) },
             { std::numeric_limits<int64_t>::min(), int32_t(kMin32) }, { -5, -5 } })
        EXPECT_EQ(win::SaturateToInt32(c.in), c.out) << c.in;
}

TEST(IntArithmetic, SaturatesRealsTruncatingTowardZeroAndNotANumberGivesZero)
{
    struct Case {
        double in;
        int32_t out;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (const Case c : { Case { 2.9, 2 }, { -2.9, -2 }, { 3e9, int32_t(kMax32) }, { -3e9, int32_t(kMin32) },
             { inf, int32_t(kMax32) }, { -inf, int32_t(kMin32) },
             { std::numeric_limits<double>::quiet_NaN(), 0 }, { 2147483646.5, 2147483646 } })
        EXPECT_EQ(win::SaturateToInt32(c.in), c.out) << c.in;
}

TEST(IntArithmetic, SaturatesUnsignedCountsAndSixtyFourBitProducts)
{
    constexpr int64_t max64 = std::numeric_limits<int64_t>::max();
    constexpr int64_t min64 = std::numeric_limits<int64_t>::min();
    EXPECT_EQ(win::SaturateToUInt32(-1), 0u);
    EXPECT_EQ(win::SaturateToUInt32(int64_t(1) << 32), 0xFFFFFFFFu);
    EXPECT_EQ(win::SaturateToUInt32(0xFFFFFFFE), 0xFFFFFFFEu);
    EXPECT_EQ(win::SaturatingMultiply(kMax32, kMax32), kMax32 * kMax32);
    EXPECT_EQ(win::SaturatingMultiply(max64, 2), max64);
    EXPECT_EQ(win::SaturatingMultiply(max64, -2), min64);
    EXPECT_EQ(win::SaturatingMultiply(min64, -1), max64);
    EXPECT_EQ(win::SaturatingMultiply(-3, 4), -12);
}

TEST(IntArithmetic, ScalesRoundingHalvesAwayFromZero)
{
    struct Case {
        int64_t value, numerator, denominator, out;
    };
    for (const Case c :
        { Case { 10, 3, 4, 8 }, { -10, 3, 4, -8 }, { 6, 1, 4, 2 }, { -6, 1, 4, -2 }, { 5, 1, 4, 1 },
            { -5, 1, 4, -1 }, { 254, 300, 254, 300 }, { int64_t(1) << 34, 100000, 254, 6763728025197 } })
        EXPECT_EQ(win::MulDivRound(c.value, c.numerator, c.denominator), c.out)
            << c.value << " * " << c.numerator << " / " << c.denominator;
}

TEST(IntArithmetic, WrapsClampsAndNormalisesTurns)
{
    EXPECT_EQ(win::WrapToInt32(kMax32 + 1), int32_t(kMin32));
    EXPECT_EQ(win::WrapToInt32(-1), -1);
    EXPECT_EQ(win::WrapToInt32(int64_t(1) << 32), 0);
    EXPECT_EQ(win::ClampToByte(-1), 0);
    EXPECT_EQ(win::ClampToByte(256), 255);
    EXPECT_EQ(win::ClampToByte(128), 128);
    EXPECT_EQ(win::NormalQuarterTurns(-1), 3);
    EXPECT_EQ(win::NormalQuarterTurns(4), 0);
    EXPECT_EQ(win::NormalQuarterTurns(std::numeric_limits<int64_t>::min()), 0);
    EXPECT_EQ(win::NormalQuarterTurns(7), 3);
}

} // namespace
