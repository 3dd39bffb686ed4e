// Measures elapsed ticks from its construction.
#pragma once

#include "platform/win/Ticks.h"

#include <cstdint>

class Stopwatch {
public:
    explicit Stopwatch(win::TickSource ticks = win::GetTickCount);
    // Freezes the elapsed time.
    void Stop();
    // The frozen time once stopped (when it is not 0), else the ticks since the start.
    uint32_t Elapsed() const;

private:
    win::TickSource ticks_;
    uint32_t start_;
    uint32_t stopped_ = 0;
};
