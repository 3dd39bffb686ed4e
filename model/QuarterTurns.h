// Clockwise quarter turns on the page (x right, y down), shared by the unit geometry.
#pragma once

#include "platform/win/Types.h"

// The vector (dx, dy) turned clockwise by the given quarter turns.
win::POINT TurnVector(win::POINT vector, int quarterTurns);

// The box covered by a size whose corner lies at the given point, turned clockwise by the given
// quarter turns around that corner.
win::RECT TurnedBox(win::POINT corner, win::SIZE size, int quarterTurns);
