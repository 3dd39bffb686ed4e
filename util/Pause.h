// Waiting for a while, as a value that tests replace: the functions that wait take a Pause, the
// real sleep by default, so that a test passes one that only counts.
#pragma once

#include <chrono>
#include <functional>

using Pause = std::function<void(std::chrono::milliseconds)>;

// Sleeps the calling thread for the duration.
void SleepFor(std::chrono::milliseconds duration);
