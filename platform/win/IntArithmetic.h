// The small integer helpers that every layer needs when values from files, messages or user input
// meet 32-bit fields: saturating and wrapping conversions, rounded scaling, byte clamps and
// quarter-turn counts.
// They live here once so that no folder writes its own copy.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace win {

// A 64-bit intermediate result brought into 32 bits, saturating at the ends of the range.
constexpr int32_t SaturateToInt32(int64_t value)
{
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value < lo ? lo : value > hi ? hi : value);
}

// A 64-bit intermediate result brought into an unsigned 32-bit count: below 0 gives 0, beyond
// the range its largest value.
constexpr uint32_t SaturateToUInt32(int64_t value)
{
    constexpr int64_t hi = std::numeric_limits<uint32_t>::max();
    return static_cast<uint32_t>(value < 0 ? 0 : value > hi ? hi : value);
}

// The product of two 64-bit values, saturating at the ends of the 64-bit range.
constexpr int64_t SaturatingMultiply(int64_t a, int64_t b)
{
    int64_t product = 0;
    if (!__builtin_mul_overflow(a, b, &product))
        return product;
    return (a < 0) != (b < 0) ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
}

// value * numerator / denominator rounded to the nearest integer, halves away from zero. The
// product must fit in 64 bits and the denominator be positive.
constexpr int64_t MulDivRound(int64_t value, int64_t numerator, int64_t denominator)
{
    const int64_t product = value * numerator;
    const int64_t magnitude = (product < 0 ? -product : product) + denominator / 2;
    return product < 0 ? -(magnitude / denominator) : magnitude / denominator;
}

// A real number brought into 32 bits: truncated toward zero, saturated at the ends of the range
// (infinities included); not a number gives 0.
inline int32_t SaturateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// A 64-bit intermediate result stored back into a 32-bit value, wrapping as the hardware does, so
// that hostile values never make the arithmetic undefined.
constexpr int32_t WrapToInt32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// A channel value: above 255 gives 255, below 0 gives 0.
constexpr uint8_t ClampToByte(int64_t value)
{
    return static_cast<uint8_t>(value > 255 ? 255 : value < 0 ? 0 : value);
}

// A quarter-turn count brought into 0 to 3; counts from files may be anything.
constexpr int NormalQuarterTurns(int64_t turns)
{
    return static_cast<int>(((turns % 4) + 4) % 4);
}

} // namespace win
