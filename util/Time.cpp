#include "util/Time.h"

#include "util/CharClasses.h"
#include "util/Clock.h"
#include "util/DigitReading.h"

#include <cstdlib>

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Splits a run of digits that made up the whole text (of the given length) into its parts.
void SplitCompactTime(int number, std::size_t length, TimeParts& parts)
{
    if (length < 3) {
        parts.hour = number;
        return;
    }
    if (length < 5) {
        parts.minute = number % 100;
        if (parts.minute < 60) {
            parts.hour = number / 100;
        } else {
            parts.minute = number % 10;
            parts.hour = number / 10;
        }
        return;
    }
    parts.second = number % 100;
    if (parts.second < 60) {
        number /= 100;
    } else {
        parts.second = number % 10;
        number /= 10;
    }
    parts.minute = number % 100;
    parts.hour = number / 100;
}

} // namespace

TimeParts ParseTimeText(std::string_view text)
{
    TimeParts parts;
    std::size_t position = 0;
    while (position < text.size() && IsCSpace(text[position]))
        ++position;
    position = ReadDigitRun(text, position, parts.hour);
    if (position == text.size()) {
        SplitCompactTime(parts.hour, text.size(), parts);
        return parts;
    }
    if (text[position] != ':')
        return parts;
    ++position;
    if (position < text.size() && text[position] == ':') {
        ReadDigitRun(text, position + 1, parts.second);
        return parts;
    }
    position = ReadDigitRun(text, position, parts.minute);
    if (position < text.size() && text[position] == ':')
        ReadDigitRun(text, position + 1, parts.second);
    return parts;
}

bool IsValidTime(int hour, int minute, int second)
{
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

bool IsValidTimeText(std::string_view text)
{
    const TimeParts parts = ParseTimeText(text);
    return IsValidTime(parts.hour, parts.minute, parts.second);
}

Time Time::FromWord(uint32_t word)
{
    Time time;
    time.word_ = word;
    return IsValidTime(time.GetHour(), time.GetMinute(), time.GetSecond()) ? time : Time();
}

void Time::Set(int hour, int minute, int second)
{
    if (hour < 0 || hour > 23)
        hour = 0;
    if (minute < 0 || minute > 59)
        minute = 0;
    if (second < 0 || second > 59)
        second = 0;
    word_ = static_cast<uint32_t>(second + minute * 64 + hour * 4096);
}

void Time::Set(std::string_view text)
{
    const TimeParts parts = ParseTimeText(text);
    Set(parts.hour, parts.minute, parts.second);
}

int Time::Compare(const Time& other) const
{
    return word_ < other.word_ ? -1 : word_ > other.word_ ? 1 : 0;
}

int64_t Time::Shift(int64_t seconds)
{
    const int64_t total = ToSeconds() + seconds;
    int64_t days = total / kSecondsPerDay;
    int64_t rest = total % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    Set(static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    return days;
}

// Counts of 2^31 hours or minutes still fit: the days moved stay far below the int range.
int Time::AddHours(int n)
{
    return static_cast<int>(std::llabs(Shift(static_cast<int64_t>(n) * 3600)));
}

int Time::AddMinutes(int n)
{
    return static_cast<int>(std::llabs(Shift(static_cast<int64_t>(n) * 60)));
}

int Time::AddSeconds(int n)
{
    return static_cast<int>(Shift(n));
}

int Time::SubtractHours(int n)
{
    return static_cast<int>(std::llabs(Shift(-static_cast<int64_t>(n) * 3600)));
}

int Time::SubtractMinutes(int n)
{
    return static_cast<int>(std::llabs(Shift(-static_cast<int64_t>(n) * 60)));
}

int Time::SubtractSeconds(int n)
{
    return static_cast<int>(-Shift(-static_cast<int64_t>(n)));
}

Time Time::operator+(int seconds) const
{
    Time copy = *this;
    copy.AddSeconds(seconds);
    return copy;
}

Time Time::operator-(int seconds) const
{
    Time copy = *this;
    copy.SubtractSeconds(seconds);
    return copy;
}

Time Time::Now()
{
    const LocalMoment now = CurrentLocalMoment();
    return Time(now.hour, now.minute, now.second);
}
