#include "model/QuarterTurns.h"

win::POINT TurnVector(win::POINT vector, int quarterTurns)
{
    const int64_t dx = vector.x;
    const int64_t dy = vector.y;
    switch (NormalQuarterTurns(quarterTurns)) {
    case 1:
        return { WrapToInt32(-dy), WrapToInt32(dx) };
    case 2:
        return { WrapToInt32(-dx), WrapToInt32(-dy) };
    case 3:
        return { WrapToInt32(dy), WrapToInt32(-dx) };
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
    switch (NormalQuarterTurns(quarterTurns)) {
    case 1:
        return { WrapToInt32(x - h), WrapToInt32(y), WrapToInt32(x), WrapToInt32(y + w) };
    case 2:
        return { WrapToInt32(x - w), WrapToInt32(y - h), WrapToInt32(x), WrapToInt32(y) };
    case 3:
        return { WrapToInt32(x), WrapToInt32(y - w), WrapToInt32(x + h), WrapToInt32(y) };
    default:
        return { WrapToInt32(x), WrapToInt32(y), WrapToInt32(x + w), WrapToInt32(y + h) };
    }
}
