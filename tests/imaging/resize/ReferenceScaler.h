#pragma once

// The plain two-pass scaler, written the simplest way over whole pictures, that the fast one
// must match byte for byte.

#include "imaging/resize/PLContribDef.h"

#include <cstdint>
#include <vector>

namespace reference {

// A picture of 4-byte pixels, rows packed without padding.
struct Picture {
    int64_t width = 0;
    int64_t height = 0;
    std::vector<uint8_t> bytes;

    uint8_t* Pixel(int64_t x, int64_t y) { return bytes.data() + (y * width + x) * 4; }
    const uint8_t* Pixel(int64_t x, int64_t y) const { return bytes.data() + (y * width + x) * 4; }
};

struct Contribution {
    int64_t first = 0;
    int64_t last = 0;
    std::vector<int64_t> weights; // weights[i - first]
};

std::vector<Contribution> Contributions(const PLContribDef& kernel, int64_t outputSize, int64_t sourceSize);

Picture Scale(const PLContribDef& kernel, const Picture& source, int64_t width, int64_t height);

} // namespace reference
