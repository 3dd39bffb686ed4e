// A time of day packed in 32 bits: the second in bits 0-5, the minute in bits 6-11 and the hour
// from bit 12 up. Setting a time never fails: a part out of range becomes 0.
#pragma once

#include "util/DateTimeFlags.h"

#include <cstdint>
#include <string>
#include <string_view>

class Time {
public:
    Time() = default;
    Time(int hour, int minute, int second) { Set(hour, minute, second); }

    // The time of a packed word; a word whose fields are not a valid time gives 0:00:00.
    static Time FromWord(uint32_t word);
    uint32_t GetWord() const { return word_; }

    // An hour outside 0-23, a minute or a second outside 0-59 becomes 0.
    void Set(int hour, int minute, int second);
    // The parts read by ParseTimeText.
    void Set(std::string_view text);

    int GetHour() const { return static_cast<int>(word_ >> 12); }
    int GetMinute() const { return static_cast<int>((word_ >> 6) & 0x3F); }
    int GetSecond() const { return static_cast<int>(word_ & 0x3F); }

    int ToSeconds() const { return GetHour() * 3600 + GetMinute() * 60 + GetSecond(); }
    double ToHours() const { return GetHour() + GetMinute() / 60.0 + GetSecond() / 3600.0; }
    double ToMinutes() const { return GetHour() * 60 + GetMinute() + GetSecond() / 60.0; }

    int Compare(const Time& other) const;
    bool operator==(const Time& other) const = default;
    bool operator>(const Time& other) const { return Compare(other) > 0; }

    // Shifts by any number of hours, minutes or seconds on a 24-hour clock. The hour and minute
    // shifts return the number of days carried or borrowed, counted up (23:00 less 25 hours
    // borrows 1, 01:00 less 26 hours borrows 2); the second shifts return the days carried as a
    // signed count, negative going back (AddSeconds) or forward (SubtractSeconds).
    int AddHours(int n);
    int AddMinutes(int n);
    int AddSeconds(int n);
    int SubtractHours(int n);
    int SubtractMinutes(int n);
    int SubtractSeconds(int n);
    // Copies shifted by n seconds; the days carried are dropped.
    Time operator+(int seconds) const;
    Time operator-(int seconds) const;
    // Seconds from the other time to this one.
    int operator-(const Time& other) const { return ToSeconds() - other.ToSeconds(); }

    // The time as text by the flags kHour, kMinute and kSecond, each in two digits, joined by ':'.
    std::string Format(unsigned flags) const;

    // The current local time.
    static Time Now();

private:
    // Moves the time by the seconds and returns the whole days moved (negative going back).
    int64_t Shift(int64_t seconds);

    uint32_t word_ = 0;
};

struct TimeParts {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Reads a time as "h", "h:m", "h:m:s" or "h::s" after leading white space: each part a run of
// digits, reading ending at the first other character. A text of digits alone is the compact
// form, split by the length of the whole text: up to 2 characters the hour, 3 or 4 "hmm", 5 and
// more "hhmmss" (a last pair of 60 and above is taken as one digit: 160 is 16:00). Parts out of
// range are returned as read.
TimeParts ParseTimeText(std::string_view text);
bool IsValidTime(int hour, int minute, int second);
bool IsValidTimeText(std::string_view text);
