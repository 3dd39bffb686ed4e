#include "util/Pause.h"

#include <thread>

void SleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}
