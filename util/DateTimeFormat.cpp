// Dates and times as text, by the flags of DateTimeFlags.h.
#include "util/DateTime.h"

#include <array>

namespace {

// At least two digits, with a leading zero.
std::string TwoDigits(int value)
{
    std::string text = std::to_string(value);
    if (text.size() < 2)
        text.insert(0, 2 - text.size(), '0');
    return text;
}

} // namespace

std::string Date::Format(unsigned flags, int order, char separator) const
{
    using namespace DateTimeFlags;
    std::string day;
    if (flags & kWeekdayShortName)
        day.append(WeekdayName(GetWeekday(), false)).push_back(' ');
    if (flags & kWeekdayFullName)
        day.append(WeekdayName(GetWeekday(), true)).push_back(' ');
    if (flags & kDayNumber)
        day += TwoDigits(GetDay());

    std::string month;
    if (flags & kMonthNumber)
        month = TwoDigits(GetMonth());
    else if (flags & kMonthShortName)
        month = MonthName(GetMonth(), true);
    else if (flags & kMonthFullName)
        month = MonthName(GetMonth(), false);

    std::string year;
    if (flags & kYearFourDigits)
        year = std::to_string(GetYear());
    else if (flags & kYearTwoDigits)
        year = TwoDigits(GetYearOffset());

    if (flags & (kMonthShortName | kMonthFullName)) {
        separator = ' ';
        order = DateOrder::kDayMonthYear;
    }
    // An unknown order writes the parts as order 0 does.
    using Parts = std::array<const std::string*, 3>;
    const Parts parts = order == DateOrder::kYearMonthDay ? Parts { &year, &month, &day }
        : order == DateOrder::kMonthDayYear               ? Parts { &month, &day, &year }
                                                          : Parts { &day, &month, &year };
    std::string text;
    for (const std::string* part : parts) {
        if (part->empty())
            continue;
        if (!text.empty() && separator != '\0')
            text.push_back(separator);
        text += *part;
    }
    return text;
}

std::string Date::FormatSlashOrDash(unsigned flags, int order, bool dash) const
{
    return Format(flags, order, dash ? '-' : '/');
}

std::string Time::Format(unsigned flags) const
{
    using namespace DateTimeFlags;
    const bool minute = flags & kMinute;
    const bool second = flags & kSecond;
    std::string text;
    if (flags & kHour) {
        text += TwoDigits(GetHour());
        if (minute || second)
            text.push_back(':');
    }
    if (minute) {
        text += TwoDigits(GetMinute());
        if (second)
            text.push_back(':');
    }
    if (second)
        text += TwoDigits(GetSecond());
    return text;
}

std::string DateTime::Format(unsigned flags, int order) const
{
    using namespace DateTimeFlags;
    std::string text;
    if (flags & kDateParts) {
        text = date_.FormatSlashOrDash(flags, order, false);
        if (flags & kTimeParts)
            text.push_back(' ');
    }
    if (flags & kTimeParts)
        text += time_.Format(flags);
    return text;
}
