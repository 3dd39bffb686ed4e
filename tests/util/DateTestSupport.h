// Shared helpers of the date and time tests: building values that must be valid, and an
// independent calendar (the standard library's) to check them against.
#pragma once

#include "util/Date.h"
#include "util/Time.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

inline Date MakeDate(int day, int month, int year)
{
    Date date;
    EXPECT_TRUE(date.Set(day, month, year)) << day << "/" << month << "/" << year;
    return date;
}

inline std::string Text(const Date& date)
{
    return std::to_string(date.GetDay()) + "/" + std::to_string(date.GetMonth()) + "/"
        + std::to_string(date.GetYear());
}

inline std::string Text(const Time& time)
{
    return std::to_string(time.GetHour()) + ":" + std::to_string(time.GetMinute()) + ":"
        + std::to_string(time.GetSecond());
}

inline std::chrono::sys_days Civil(const Date& date)
{
    using namespace std::chrono;
    return sys_days(year_month_day(year(date.GetYear()), month(static_cast<unsigned>(date.GetMonth())),
        day(static_cast<unsigned>(date.GetDay()))));
}
