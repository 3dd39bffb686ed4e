#include "app/view/SteppedRun.h"

#include <algorithm>
#include <bit>

namespace {

// The number of factors 2 in a step; 32 for a step of 0, which never moves.
int TwoPower(uint32_t step)
{
    return step == 0 ? 32 : std::countr_zero(step);
}

// The inverse of an odd number modulo 2^32 (Newton's iteration doubles the correct bits).
uint32_t InverseOfOdd(uint32_t odd)
{
    uint32_t inverse = odd; // correct to 3 bits
    for (int i = 0; i < 4; ++i)
        inverse *= 2u - odd * inverse;
    return inverse;
}

// One axis of the run, with its interval.
struct Axis {
    uint32_t start;
    uint32_t step;
    WrappedInterval interval;

    uint32_t At(uint32_t index) const { return start + index * step; }
};

// Every index below the limit, tested one by one.
std::vector<uint32_t> ByIndex(const Axis& a, const Axis& b, uint64_t limit)
{
    std::vector<uint32_t> found;
    for (uint64_t i = 0; i < limit; ++i) {
        const auto index = static_cast<uint32_t>(i);
        if (a.interval.Holds(a.At(index)) && b.interval.Holds(b.At(index)))
            found.push_back(index);
    }
    return found;
}

// For every value of a's interval that a's points reach, the one index (below the period) that
// reaches it; kept when below the limit and b's point lies in b's interval too.
std::vector<uint32_t> ByValue(const Axis& a, const Axis& b, int power, uint64_t limit)
{
    const uint64_t grain = uint64_t { 1 } << power;
    const uint32_t inverse = InverseOfOdd(a.step >> power);
    const uint64_t periodMask = (uint64_t { 1 } << (32 - power)) - 1;
    // The first value of the interval that the run reaches: the start's remainder by the grain.
    const uint64_t first = static_cast<uint32_t>(a.start - a.interval.low) & (grain - 1);
    std::vector<uint32_t> found;
    for (uint64_t offset = first; offset <= a.interval.length && offset < (uint64_t { 1 } << 32);
         offset += grain) {
        const auto value = static_cast<uint32_t>(a.interval.low + offset);
        const auto index = static_cast<uint32_t>(
            ((static_cast<uint32_t>(value - a.start) >> power) * static_cast<uint64_t>(inverse))
            & periodMask);
        if (index < limit && b.interval.Holds(b.At(index)))
            found.push_back(index);
    }
    std::sort(found.begin(), found.end());
    return found;
}

} // namespace

std::vector<uint32_t> RunIndicesWithin(const SteppedRun& run, WrappedInterval x, WrappedInterval y)
{
    Axis a { run.startX, run.stepX, x };
    Axis b { run.startY, run.stepY, y };
    // The axis whose step has the fewest factors 2 has the longest period, that of the whole run:
    // its points repeat only when both axes do.
    if (TwoPower(b.step) < TwoPower(a.step))
        std::swap(a, b);
    const int power = TwoPower(a.step);
    const uint64_t period = power == 32 ? 1 : uint64_t { 1 } << (32 - power);
    const uint64_t limit = std::min<uint64_t>(run.count, period);
    const uint64_t values = power == 32
        ? 1
        : std::min<uint64_t>(a.interval.length, uint64_t { 1 } << 32) / (uint64_t { 1 } << power) + 1;
    return limit <= values ? ByIndex(a, b, limit) : ByValue(a, b, power, limit);
}
