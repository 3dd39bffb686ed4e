#include "imaging/resize/WeightTable.h"

#include "imaging/resize/PLContribDef.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numeric>

namespace {

// A kernel so wide that its table would need more weights than this is refused as out of memory.
constexpr int64_t kMaxWeights = int64_t { 1 } << 27;

struct Geometry {
    double scale; // output size / source size
    double width; // kernel width in source positions
    double factor; // distance and weight factor: the scale when shrinking, else 1
};

Geometry GeometryFor(const PLContribDef& kernel, int64_t outputSize, int64_t sourceSize)
{
    const double scale = static_cast<double>(outputSize) / static_cast<double>(sourceSize);
    if (scale < 1.0)
        return { scale, kernel.GetWidth() / scale, scale };
    return { scale, kernel.GetWidth(), 1.0 };
}

// When every truncated weight of a position is 0 (a very large shrink) or they sum to nothing,
// the weights come from the real kernel values instead, rounded cumulatively so that they add
// up to exactly 256 and none is off by more than one from its share.
void NormaliseFromRealKernel(
    const PLContribDef& kernel, const Geometry& g, double centre, int64_t first, std::span<int32_t> weights)
{
    std::vector<double> real(weights.size());
    for (size_t k = 0; k < weights.size(); ++k)
        real[k] = kernel.Weight((centre - static_cast<double>(first + static_cast<int64_t>(k))) * g.factor)
            * g.factor;
    const double total = std::accumulate(real.begin(), real.end(), 0.0);
    std::fill(weights.begin(), weights.end(), 0);
    if (!(total > 0.0)) {
        // Nothing of the kernel reaches a source position: take the nearest one.
        const double nearest = std::clamp(std::round(centre), static_cast<double>(first),
            static_cast<double>(first + static_cast<int64_t>(weights.size()) - 1));
        weights[static_cast<size_t>(nearest) - static_cast<size_t>(first)] = 256;
        return;
    }
    double running = 0;
    int64_t given = 0;
    for (size_t k = 0; k < weights.size(); ++k) {
        running += real[k];
        const auto upTo = static_cast<int64_t>(std::floor(running * 256.0 / total + 0.5));
        weights[k] = static_cast<int32_t>(upTo - given);
        given = upTo;
    }
}

void FillEntry(
    const PLContribDef& kernel, const Geometry& g, double centre, int64_t first, std::span<int32_t> weights)
{
    int64_t sum = 0;
    for (size_t k = 0; k < weights.size(); ++k) {
        const double x = (centre - static_cast<double>(first + static_cast<int64_t>(k))) * g.factor;
        weights[k] = static_cast<int32_t>(std::trunc(kernel.Weight(x) * g.factor * 256.0));
        sum += weights[k];
    }
    if (sum <= 0) {
        NormaliseFromRealKernel(kernel, g, centre, first, weights);
        return;
    }
    int64_t others = 0;
    for (size_t k = 0; k + 1 < weights.size(); ++k) {
        weights[k] = static_cast<int32_t>(static_cast<int64_t>(weights[k]) * 256 / sum);
        others += weights[k];
    }
    weights.back() = static_cast<int32_t>(256 - others);
}

} // namespace

WeightTable BuildWeightTable(const PLContribDef& kernel, int64_t outputSize, int64_t sourceSize)
{
    const Geometry g = GeometryFor(kernel, outputSize, sourceSize);
    WeightTable table;
    table.windowSize = 2.0 * std::ceil(g.width) + 1.0;
    table.entries.resize(static_cast<size_t>(outputSize));

    const double lastIndex = static_cast<double>(sourceSize - 1);
    int64_t total = 0;
    std::vector<double> centres(table.entries.size());
    for (int64_t u = 0; u < outputSize; ++u) {
        const double centre = (static_cast<double>(u) + 0.5) / g.scale - 0.5;
        auto first = static_cast<int64_t>(std::max(std::floor(centre - g.width), 0.0));
        auto last = static_cast<int64_t>(std::min(std::ceil(centre + g.width), lastIndex));
        if (static_cast<double>(last - first + 1) > table.windowSize) {
            if (first < sourceSize)
                ++first;
            else
                --last;
        }
        table.entries[static_cast<size_t>(u)] = { first, last, total };
        centres[static_cast<size_t>(u)] = centre;
        total += last - first + 1;
    }
    if (total > kMaxWeights)
        throw std::bad_alloc();
    table.weights.resize(static_cast<size_t>(total));
    for (size_t u = 0; u < table.entries.size(); ++u) {
        const WeightTable::Entry& e = table.entries[u];
        FillEntry(kernel, g, centres[u], e.first,
            std::span<int32_t>(table.weights)
                .subspan(static_cast<size_t>(e.offset), static_cast<size_t>(e.last - e.first + 1)));
    }
    return table;
}
