#include "util/Date.h"

#include "util/CharClasses.h"
#include "util/Clock.h"
#include "util/DigitReading.h"

#include <array>

namespace {

// Days of each month in a common year, indexed by month 0 to 13 (0 and 13 are no month).
constexpr std::array<int, 14> kDaysPerMonth = { 0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 0 };

constexpr int kLastYearOffset = Date::kLastYear - Date::kBaseYear;

} // namespace

bool IsValidDate(int day, int month, int yearOffset)
{
    if (day == 0 && month == 0 && yearOffset == 0)
        return true;
    return yearOffset >= 0 && yearOffset <= kLastYearOffset && month >= 1 && month <= 12 && day >= 1
        && day <= Date::DaysInMonth(month, Date::kBaseYear + yearOffset);
}

bool IsValidDateText(std::string_view text, int order)
{
    Date probe;
    return probe.Set(text, order);
}

Date Date::FromWord(uint16_t word)
{
    Date date;
    date.word_ = word;
    return date.IsValid() ? date : Date();
}

bool Date::IsValid() const
{
    return IsValidDate(GetDay(), GetMonth(), GetYearOffset());
}

void Date::SetFields(int day, int month, int year)
{
    word_ = static_cast<uint16_t>(day + month * 32 + (year - kBaseYear) * 512);
}

bool Date::Set(int day, int month, int year)
{
    if (day == 0 && month == 0 && year == 0) {
        word_ = 0;
        return true;
    }
    if (day != 0 && month == 0)
        month = Today().GetMonth();
    if (year >= 0 && year < 100)
        year += year >= 50 ? 1900 : 2000;
    // Checked in 64 bits so that no year, however far off, overflows the offset.
    const int64_t offset = static_cast<int64_t>(year) - kBaseYear;
    if (offset < 0 || offset > kLastYearOffset || !IsValidDate(day, month, static_cast<int>(offset)))
        return false;
    SetFields(day, month, year);
    return true;
}

bool Date::Set(std::string_view text, int order)
{
    if (order < DateOrder::kDayMonthYear || order > DateOrder::kMonthDayYear)
        return false;
    std::size_t position = 0;
    while (position < text.size() && IsCSpace(text[position]))
        ++position;
    std::array<int, 3> numbers {};
    for (int& number : numbers)
        position = ReadLeadingNumber(text, position, number);
    switch (order) {
    case DateOrder::kYearMonthDay:
        return Set(numbers[2], numbers[1], numbers[0]);
    case DateOrder::kMonthDayYear:
        return Set(numbers[1], numbers[0], numbers[2]);
    default:
        return Set(numbers[0], numbers[1], numbers[2]);
    }
}

bool Date::IsLeapYear(int year)
{
    return year % 400 == 0 || (year % 4 == 0 && year % 100 != 0);
}

int Date::DaysInMonth(int month, int year)
{
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDaysPerMonth[static_cast<std::size_t>(month)];
}

int Date::GetWeekday() const
{
    // A form of Zeller's congruence in which January and February count as months 13 and 14 of
    // the same year, the day being moved back to make up for the year not being decreased.
    const int y = GetYear();
    int m = GetMonth();
    int d = GetDay();
    if (m == 1 || m == 2) {
        m += 12;
        d -= IsLeapYear(y) ? 2 : 1;
    }
    const int w = (y + y / 4 + (3 * m + 3) / 5 + y / 400 + 2 * m + d - y / 100 + 1) % 7;
    return w == 0 ? 6 : w - 1;
}

int Date::Compare(const Date& other) const
{
    return word_ < other.word_ ? -1 : word_ > other.word_ ? 1 : 0;
}

int Date::DayIndex() const
{
    int index = GetDay() - 1;
    for (int year = kBaseYear; year < GetYear(); ++year)
        index += IsLeapYear(year) ? 366 : 365;
    for (int month = 1; month < GetMonth(); ++month)
        index += DaysInMonth(month, GetYear());
    return index;
}

Date Date::FromDayIndex(int index)
{
    int year = kBaseYear;
    for (int length = 365 + IsLeapYear(year); index >= length; length = 365 + IsLeapYear(year)) {
        index -= length;
        ++year;
    }
    int month = 1;
    for (; index >= DaysInMonth(month, year); ++month)
        index -= DaysInMonth(month, year);
    Date date;
    date.SetFields(index + 1, month, year);
    return date;
}

Date Date::Today()
{
    const LocalMoment now = CurrentLocalMoment();
    Date today;
    if (now.month != 0 && now.year >= kBaseYear && now.year <= kLastYear
        && IsValidDate(now.day, now.month, now.year - kBaseYear))
        today.SetFields(now.day, now.month, now.year);
    return today;
}
