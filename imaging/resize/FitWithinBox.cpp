#include "imaging/resize/FitWithinBox.h"

#include "imaging/resize/BoxFit.h"

#include <algorithm>

namespace {

// A scaled side, truncated, at least 1 and never beyond the box's side. The box's side in single
// precision can round up (2^31 for the largest boxes), so the comparison is made before the
// conversion, which would otherwise overflow.
int32_t ScaledSide(float side, int32_t boxSide)
{
    if (side >= static_cast<float>(boxSide))
        return boxSide;
    return std::max<int32_t>(1, static_cast<int32_t>(side));
}

} // namespace

win::SIZE FitWithinBox(int32_t w, int32_t h, int32_t bw, int32_t bh)
{
    const auto [width, height] = FitToBox(w, h, bw, bh, ScaledSide);
    return { width, height };
}
