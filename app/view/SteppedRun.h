// The members of a stepped run of points that fall in a window, with the run's positions wrapped
// to 32 bits as the layout's geometry wraps them.
#pragma once

#include <cstdint>
#include <vector>

// The values v with (v - low) mod 2^32 <= length: an interval of the 32-bit circle. A length of
// 2^32 - 1 or more holds every value.
struct WrappedInterval {
    uint32_t low = 0;
    uint64_t length = 0;

    bool Holds(uint32_t value) const { return static_cast<uint32_t>(value - low) <= length; }
};

// A run of points: point i is start + i * step, each coordinate modulo 2^32.
struct SteppedRun {
    uint32_t startX = 0;
    uint32_t startY = 0;
    uint32_t stepX = 0;
    uint32_t stepY = 0;
    uint32_t count = 0;
};

// The indices i below the run's count whose point lies in both intervals, ascending; of indices
// whose points coincide (the run comes round to the same point after a whole period) only the
// first. The work is bounded by the smaller of the count and the number of values in one
// interval, never by the count alone.
std::vector<uint32_t> RunIndicesWithin(const SteppedRun& run, WrappedInterval x, WrappedInterval y);
