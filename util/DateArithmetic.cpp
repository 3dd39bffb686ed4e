// Shifting dates and the differences between them. Every shift is computed in 64 bits in closed
// form, so that any int is a valid count and a result outside 2000 to 2100 is refused at once.
#include "util/Date.h"

#include <algorithm>

namespace {

constexpr int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

bool InRange(int64_t year)
{
    return year >= Date::kBaseYear && year <= Date::kLastYear;
}

} // namespace

bool Date::ShiftDays(int64_t n)
{
    if (word_ == 0)
        return false;
    static const int kLastIndex = [] {
        Date last;
        last.SetFields(31, 12, kLastYear);
        return last.DayIndex();
    }();
    const int64_t index = DayIndex() + n;
    if (index < 0 || index > kLastIndex)
        return false;
    *this = FromDayIndex(static_cast<int>(index));
    return true;
}

bool Date::ShiftMonths(int64_t n)
{
    if (word_ == 0)
        return false;
    const int64_t months = static_cast<int64_t>(GetYear()) * 12 + (GetMonth() - 1) + n;
    const int64_t year = FloorDiv(months, 12);
    if (!InRange(year))
        return false;
    const int month = static_cast<int>(months - year * 12) + 1;
    SetFields(std::min(GetDay(), DaysInMonth(month, static_cast<int>(year))), month, static_cast<int>(year));
    return true;
}

bool Date::ShiftYears(int64_t n)
{
    if (word_ == 0)
        return false;
    const int64_t year = GetYear() + n;
    if (!InRange(year))
        return false;
    SetFields(std::min(GetDay(), DaysInMonth(GetMonth(), static_cast<int>(year))), GetMonth(),
        static_cast<int>(year));
    return true;
}

bool Date::AddDays(int n)
{
    return ShiftDays(n);
}

bool Date::SubtractDays(int n)
{
    return ShiftDays(-static_cast<int64_t>(n));
}

bool Date::NextDay()
{
    return ShiftDays(1);
}

bool Date::PreviousDay()
{
    return ShiftDays(-1);
}

Date& Date::operator++()
{
    NextDay();
    return *this;
}

Date Date::operator++(int)
{
    const Date before = *this;
    NextDay();
    return before;
}

Date& Date::operator--()
{
    PreviousDay();
    return *this;
}

Date Date::operator--(int)
{
    const Date before = *this;
    PreviousDay();
    return before;
}

bool Date::AddMonths(int n)
{
    return ShiftMonths(n);
}

bool Date::SubtractMonths(int n)
{
    return ShiftMonths(-static_cast<int64_t>(n));
}

bool Date::AddYears(int n)
{
    return ShiftYears(n);
}

bool Date::SubtractYears(int n)
{
    return ShiftYears(-static_cast<int64_t>(n));
}

Date Date::operator+(int n) const
{
    Date copy = *this;
    copy.AddDays(n);
    return copy;
}

Date Date::operator-(int n) const
{
    Date copy = *this;
    copy.SubtractDays(n);
    return copy;
}

int Date::DaysBetween(const Date& other) const
{
    if (word_ == 0)
        return other.word_ == 0 ? 0 : -1;
    if (other.word_ == 0)
        return 1;
    return DayIndex() - other.DayIndex();
}

int Date::MonthsBetween(const Date& other) const
{
    if (word_ == 0 || other.word_ == 0)
        return 0;
    if (other > *this)
        return -other.MonthsBetween(*this);
    // Adding the whole months between the two to the earlier date lands in this date's month,
    // its day cut to that month's length; when that falls short, one month more is needed.
    const int months = (GetYear() - other.GetYear()) * 12 + GetMonth() - other.GetMonth();
    const int landedDay = std::min(other.GetDay(), DaysInMonth());
    return months + (landedDay < GetDay() ? 1 : 0);
}

int Date::YearsBetween(const Date& other) const
{
    if (word_ == 0 || other.word_ == 0)
        return 0;
    if (other > *this)
        return -other.YearsBetween(*this);
    // Adding the whole years between the two to the earlier date lands in this date's year.
    const int years = GetYear() - other.GetYear();
    const int landedDay = std::min(other.GetDay(), DaysInMonth(other.GetMonth(), GetYear()));
    const bool shortOf
        = other.GetMonth() < GetMonth() || (other.GetMonth() == GetMonth() && landedDay < GetDay());
    return years + (shortOf ? 1 : 0);
}
