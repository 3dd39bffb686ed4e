#include "util/Clock.h"

#include <ctime>
#include <utility>

namespace {

LocalClock& InstalledClock()
{
    static LocalClock clock = SystemLocalMoment;
    return clock;
}

} // namespace

LocalMoment SystemLocalMoment()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr)
        return {};
    return { local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
        local.tm_sec };
}

LocalMoment CurrentLocalMoment()
{
    return InstalledClock()();
}

ScopedClock::ScopedClock(LocalClock clock)
    : previous_(std::exchange(InstalledClock(), std::move(clock)))
{
}

ScopedClock::~ScopedClock()
{
    InstalledClock() = std::move(previous_);
}
