// Millisecond ticks from a steady clock, wrapping at 2^32 as the original platform's tick count
// does, and a plain sleep.
#pragma once

#include "platform/win/Types.h"

#include <functional>

namespace win {

DWORD GetTickCount();
void Sleep(DWORD milliseconds);

// Where code that measures time takes its ticks from; tests pass their own.
using TickSource = std::function<DWORD()>;

} // namespace win
