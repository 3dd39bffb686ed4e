// The English month and weekday names of dates.
#include "util/Date.h"

#include <array>

namespace {

// One table of names: 1-12 the months, 14-25 their short names, 26-32 the weekdays from Monday,
// 33-39 their short names; 0 and 13 stand for no month.
constexpr std::array<std::string_view, 40> kNames = {
    "Null",
    "January",
    "February",
    "March",
    "April",
    "May",
    "June",
    "July",
    "August",
    "September",
    "October",
    "November",
    "December",
    "Null",
    "Jan",
    "Feb",
    "Mar",
    "Apr",
    "May",
    "Jun",
    "Jul",
    "Aug",
    "Sep",
    "Oct",
    "Nov",
    "Dec",
    "Monday",
    "Tuesday",
    "Wednesday",
    "Thursday",
    "Friday",
    "Saturday",
    "Sunday",
    "Mon",
    "Tue",
    "Wed",
    "Thu",
    "Fri",
    "Sat",
    "Sun",
};
constexpr int kFullMonths = 0;
constexpr int kShortMonths = 13;
constexpr int kFullWeekdays = 26;
constexpr int kShortWeekdays = 33;

} // namespace

std::string_view Date::MonthName(int month, bool abbreviated)
{
    if (month < 1 || month > 12)
        return "Bad";
    return kNames[static_cast<std::size_t>(month + (abbreviated ? kShortMonths : kFullMonths))];
}

std::string_view Date::WeekdayName(int weekday, bool full)
{
    if (weekday < 0 || weekday > 6)
        return "Bad";
    return kNames[static_cast<std::size_t>(weekday + (full ? kFullWeekdays : kShortWeekdays))];
}

int Date::MonthFromName(std::string_view name)
{
    for (int month = 1; month <= 12; ++month)
        if (name == MonthName(month, false) || name == MonthName(month, true))
            return month;
    return 0;
}

int Date::WeekdayFromName(std::string_view name)
{
    for (int weekday = 0; weekday <= 6; ++weekday)
        if (name == WeekdayName(weekday, true) || name == WeekdayName(weekday, false))
            return weekday;
    return 7;
}
