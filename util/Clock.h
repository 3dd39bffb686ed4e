// Where the current local date and time come from. The program reads the system clock in local
// time; tests install a clock of their own for as long as a ScopedClock lives, so that "today"
// and "now" are fixed values in them.
#pragma once

#include <functional>

// The calendar fields of a moment in local time: the year in full, the month 1 to 12, the day of
// the month 1 to 31, the hour 0 to 23, the minute 0 to 59, the second 0 to 60 (a leap second).
struct LocalMoment {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using LocalClock = std::function<LocalMoment()>;

// The system's current time converted to local time.
LocalMoment SystemLocalMoment();

// The current moment from the clock in use: the system clock unless a ScopedClock is installed.
LocalMoment CurrentLocalMoment();

// Installs a clock for its lifetime and puts the previous one back when destroyed.
class ScopedClock {
public:
    explicit ScopedClock(LocalClock clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    LocalClock previous_;
};
