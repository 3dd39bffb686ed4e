// What the image cache takes from its surroundings: the time and its sleeps (tests pass a clock
// that moves only when slept on), and a test seam that makes a memory-hungry step of a load run
// out of memory without exhausting the machine.
#pragma once

#include <functional>

#include "platform/win/Ticks.h"
#include "platform/win/Types.h"

struct MillisecondClock {
    std::function<win::DWORD()> now = win::GetTickCount; // milliseconds, wrapping at 2^32
    std::function<void(win::DWORD)> sleep = win::Sleep;
};

// The steps of a load that need memory for a whole picture.
enum class CacheStep {
    Decode, // decoding the file into the work picture
    Copy, // copying between the work picture and the pristine one
    Adjust, // each step of the adjustments
};

// True makes the step fail as if memory had run out. No seam: no step fails.
using OutOfMemorySeam = std::function<bool(CacheStep)>;
