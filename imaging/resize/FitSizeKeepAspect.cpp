#include "imaging/resize/FitSizeKeepAspect.h"

#include "imaging/resize/BoxFit.h"

#include <tuple>

namespace {

// A scaled side truncated toward zero. Single precision rounds a box side near the largest integer
// up to 2^31, beyond what an int holds; such a side is the box's own.
int32_t TruncatedSide(float side, int32_t boxSide)
{
    return side >= 2147483648.0f ? boxSide : static_cast<int32_t>(side);
}

} // namespace

void FitSizeKeepAspect(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight)
{
    std::tie(fitWidth, fitHeight) = FitToBox(width, height, boxWidth, boxHeight, TruncatedSide);
}
