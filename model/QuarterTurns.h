// Clockwise quarter turns on the page (x right, y down), shared by the unit geometry.
#pragma once

#include "platform/win/Types.h"

#include <cstdint>

// A quarter-turn count brought into 0 to 3; counts from files may be anything.
constexpr int NormalQuarterTurns(int64_t turns)
{
    return static_cast<int>(((turns % 4) + 4) % 4);
}

// A 64-bit intermediate result stored back into a 32-bit coordinate, wrapping as the hardware does,
// so that hostile values never make the arithmetic undefined.
constexpr int32_t WrapToInt32(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

// The vector (dx, dy) turned clockwise by the given quarter turns.
win::POINT TurnVector(win::POINT vector, int quarterTurns);

// The box covered by a size whose corner lies at the given point, turned clockwise by the given
// quarter turns around that corner.
win::RECT TurnedBox(win::POINT corner, win::SIZE size, int quarterTurns);
