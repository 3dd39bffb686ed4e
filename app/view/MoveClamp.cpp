#include "app/view/MoveClamp.h"

#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cstdint>

namespace {

// The step along one axis from the edges low..high, kept within min..max where it can be.
int ClampStep(int step, int low, int high, int min, int max)
{
    if (step < 0) {
        const int64_t room = std::min<int64_t>(0, int64_t { min } - low);
        return win::SaturateToInt32(std::max<int64_t>(step, room));
    }
    if (step > 0) {
        const int64_t room = std::max<int64_t>(0, int64_t { max } - high);
        return win::SaturateToInt32(std::min<int64_t>(step, room));
    }
    return 0;
}

} // namespace

win::POINT ClampMove(const win::RECT& bounds, const win::RECT& unit, win::POINT delta)
{
    return { ClampStep(delta.x, unit.left, unit.right, bounds.left, bounds.right),
        ClampStep(delta.y, unit.top, unit.bottom, bounds.top, bounds.bottom) };
}
