#include "imaging/FitWithinBox.h"

#include <algorithm>

win::SIZE FitWithinBox(int32_t w, int32_t h, int32_t bw, int32_t bh)
{
    if (w <= 0 || h <= 0 || bw <= 0 || bh <= 0)
        return {};
    // Single precision, as the fitted sizes have always been computed.
    const float rw = static_cast<float>(bw) / static_cast<float>(w);
    const float rh = static_cast<float>(bh) / static_cast<float>(h);
    const auto atLeastOne = [](float side) { return std::max<int32_t>(1, static_cast<int32_t>(side)); };
    if (rh > rw)
        return { bw, atLeastOne(static_cast<float>(h) * rw) };
    return { atLeastOne(static_cast<float>(w) * rh), bh };
}
