#include "app/view/MoveClamp.h"

#include "platform/win/IntArithmetic.h"

#include <cstdint>

win::POINT ClampMove(const win::RECT& bounds, const win::RECT& unit, win::POINT delta)
{
    // The unit as the move would leave it; each edge found past the bounds sets its axis's move
    // so that this edge lies on them. The tests run top, bottom, left, right, a later one
    // overriding an earlier one on its axis.
    const int64_t movedLeft = int64_t { unit.left } + delta.x;
    const int64_t movedTop = int64_t { unit.top } + delta.y;
    const int64_t movedRight = int64_t { unit.right } + delta.x;
    const int64_t movedBottom = int64_t { unit.bottom } + delta.y;
    int64_t dx = delta.x;
    int64_t dy = delta.y;
    if (movedTop < bounds.top)
        dy = int64_t { bounds.top } - unit.top;
    if (movedBottom > bounds.bottom)
        dy = int64_t { bounds.bottom } - unit.bottom;
    if (movedLeft < bounds.left)
        dx = int64_t { bounds.left } - unit.left;
    if (movedRight > bounds.right)
        dx = int64_t { bounds.right } - unit.right;
    return { win::SaturateToInt32(dx), win::SaturateToInt32(dy) };
}
