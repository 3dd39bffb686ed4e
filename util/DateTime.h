// A date and a time of day. A date and time is null when its date is.
#pragma once

#include "util/Date.h"
#include "util/Time.h"

#include <cstdint>
#include <string>
#include <string_view>

class DateTime {
public:
    // The null date at 0:00:00.
    DateTime() = default;
    // The date (Date::Set with the order) ends at the first blank after any leading white space or
    // at the first minus sign after its third number, whichever comes first; the rest, when there
    // is any, is the time (Time::Set). So "2015-06-05 10:00" and "05/06/2015-10:00" both carry a
    // time, and "5-6-2015" is all date.
    DateTime(std::string_view text, int order);
    DateTime(const Date& date, const Time& time)
        : date_(date)
        , time_(time)
    {
    }

    // Sets the time, then the date; returns whether the date was set.
    bool Set(int day, int month, int year, int hour, int minute, int second);
    void SetTime(std::string_view text) { time_.Set(text); }

    const Date& GetDate() const { return date_; }
    const Time& GetTime() const { return time_; }
    bool IsNull() const { return date_.GetWord() == 0; }

    // The dates first; equal dates compare their times.
    int Compare(const DateTime& other) const;
    bool operator==(const DateTime& other) const = default;
    bool operator>(const DateTime& other) const { return Compare(other) > 0; }
    // Seconds from the other to this: the days between the dates (Date::DaysBetween) times 86400
    // plus the seconds between the times. The range of dates needs more than 32 bits.
    int64_t operator-(const DateTime& other) const;

    // The date part with '/' (by the date flags), a blank when both are present, the time part.
    std::string Format(unsigned flags, int order) const;

    // The current local date and time, read from the clock once.
    static DateTime Now();

private:
    Date date_;
    Time time_;
};
