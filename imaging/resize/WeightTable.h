#pragma once

#include <cstdint>
#include <span>
#include <vector>

class PLContribDef;

// The contributions of one scaling pass: for every output position, the inclusive range of
// source positions it reads and their weights in fixed point with 8 fractional bits (summing to 256).
struct WeightTable {
    struct Entry {
        int64_t first = 0; // first source index read
        int64_t last = -1; // last source index read (inclusive)
        int64_t offset = 0; // where this entry's last - first + 1 weights start in `weights`
    };

    double windowSize = 0; // 2 * ceil(width) + 1, the most source positions an entry may read
    std::vector<Entry> entries;
    std::vector<int32_t> weights;

    std::span<const int32_t> WeightsOf(size_t u) const
    {
        const Entry& e = entries[u];
        return { weights.data() + e.offset, static_cast<size_t>(e.last - e.first + 1) };
    }
};

// Builds the table that scales `sourceSize` positions to `outputSize` positions with the kernel.
// Both sizes must be above 0 and the kernel's width finite and above 0. Throws std::bad_alloc.
WeightTable BuildWeightTable(const PLContribDef& kernel, int64_t outputSize, int64_t sourceSize);
