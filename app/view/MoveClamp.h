// Limits a move of a unit to the rectangle it must stay in (layout units). An edge that the move
// would take past the bounds is put on them instead: a move within the bounds is kept, a longer
// one is shortened, and a unit that lies outside the bounds (a file can put it there) comes back
// onto them with any move. A unit taller than the bounds ends with its bottom edge on them, one
// wider with its right edge. A move of (0, 0) is no move: the callers do not clamp it.
#pragma once

#include "platform/win/Types.h"

win::POINT ClampMove(const win::RECT& bounds, const win::RECT& unit, win::POINT delta);
