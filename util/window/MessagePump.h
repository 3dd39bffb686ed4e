// Beeps and letting waiting events through, for long work done in the window's own thread.
#pragma once

#include "util/Pause.h"

// Count times: a beep, its duration, then the pause (both in milliseconds). The desktop's beep
// has no pitch, so the frequency is not heard.
void BeepRepeatedly(int frequency, int duration, int count, int pause, const Pause& wait = SleepFor);
// Handles every event waiting for the calling thread, then returns.
void PumpMessages();
// While events are waiting, lets the event loop handle them.
void PumpWaitingMessages();
