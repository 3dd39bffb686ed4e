// Limits a move of a unit to the rectangle it must stay in (layout units). Each component of the
// move is only shortened, never created or reversed: a unit that already lies outside the bounds,
// or is larger than them, is not pulled back, it only cannot go further out.
#pragma once

#include "platform/win/Types.h"

win::POINT ClampMove(const win::RECT& bounds, const win::RECT& unit, win::POINT delta);
