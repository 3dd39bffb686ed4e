#include "model/QuarterTurns.h"

#include "platform/win/IntArithmetic.h"

win::POINT TurnVector(win::POINT vector, int quarterTurns)
{
    const int64_t dx = vector.x;
    const int64_t dy = vector.y;
    switch (win::NormalQuarterTurns(quarterTurns)) {
    case 1:
        return { win::WrapToInt32(-dy), win::WrapToInt32(dx) };
    case 2:
        return { win::WrapToInt32(-dx), win::WrapToInt32(-dy) };
    case 3:
        return { win::WrapToInt32(dy), win::WrapToInt32(-dx) };
    default:
        return vector;
    }
}

win::RECT TurnedBox(win::POINT corner, win::SIZE size, int quarterTurns)
{
    const int64_t x = corner.x;
    const int64_t y = corner.y;
    const int64_t w = size.cx;
    const int64_t h = size.cy;
    switch (win::NormalQuarterTurns(quarterTurns)) {
    case 1:
        return { win::WrapToInt32(x - h), win::WrapToInt32(y), win::WrapToInt32(x), win::WrapToInt32(y + w) };
    case 2:
        return { win::WrapToInt32(x - w), win::WrapToInt32(y - h), win::WrapToInt32(x), win::WrapToInt32(y) };
    case 3:
        return { win::WrapToInt32(x), win::WrapToInt32(y - w), win::WrapToInt32(x + h), win::WrapToInt32(y) };
    default:
        return { win::WrapToInt32(x), win::WrapToInt32(y), win::WrapToInt32(x + w), win::WrapToInt32(y + h) };
    }
}
