// A calendar date from 1 January 2000 to 31 December 2100, packed in 16 bits: the day of the
// month in bits 0-4, the month in bits 5-8 and the year's offset from 2000 in bits 9-15. The word
// 0 is the null date (no date). Since the year is above the month above the day, comparing the
// words compares the dates, and the null date comes first.
//
// Setting and shifting never throw: a date that would be invalid, or fall outside 2000 to 2100,
// leaves the value unchanged and reports false. A null date is never shifted.
#pragma once

#include "util/DateTimeFlags.h"

#include <cstdint>
#include <string>
#include <string_view>

class Date {
public:
    static constexpr int kBaseYear = 2000;
    static constexpr int kLastYear = 2100;

    Date() = default;

    // The date of a packed word; a word whose fields are not a valid date gives the null date.
    static Date FromWord(uint16_t word);
    uint16_t GetWord() const { return word_; }

    // Sets the date from a day, a month and a year. All three 0 give the null date. A month of 0
    // with a day takes the current month. A year below 100 is a two-digit year: 0 to 49 are 2000
    // to 2049, 50 to 99 are 1950 to 1999 and so rejected. False, with the date unchanged, when
    // the result is not a valid date.
    bool Set(int day, int month, int year);
    // Reads three numbers from the text (after leading white space), each ended by any one
    // character, in the order's sequence (DateOrder), then sets them as above. False for an
    // unknown order.
    bool Set(std::string_view text, int order);

    int GetDay() const { return word_ & 0x1F; }
    int GetMonth() const { return (word_ >> 5) & 0x0F; }
    int GetYearOffset() const { return word_ >> 9; }
    int GetYear() const { return GetYearOffset() + kBaseYear; }

    bool IsValid() const;
    // The null date counts as leap (its year is 2000).
    bool IsLeapYear() const { return IsLeapYear(GetYear()); }
    static bool IsLeapYear(int year);
    // 0 for the null date.
    int DaysInMonth() const { return DaysInMonth(GetMonth(), GetYear()); }
    // 0 for a month outside 1 to 12.
    static int DaysInMonth(int month, int year);
    // 0 (Monday) to 6 (Sunday).
    int GetWeekday() const;

    // "January" to "December", or "Jan" to "Dec" when abbreviated; "Bad" for any other month.
    static std::string_view MonthName(int month, bool abbreviated);
    // "Monday" to "Sunday" when full, "Mon" to "Sun" otherwise; "Bad" for any other weekday.
    static std::string_view WeekdayName(int weekday, bool full);
    // The month 1 to 12 whose full or short name is exactly the text (letter case counts), or 0.
    static int MonthFromName(std::string_view name);
    // The weekday 0 to 6 whose full or short name is exactly the text, or 7.
    static int WeekdayFromName(std::string_view name);

    // -1, 0 or 1 as this date is before, the same as or after the other.
    int Compare(const Date& other) const;
    bool operator==(const Date& other) const = default;
    bool operator<(const Date& other) const { return Compare(other) < 0; }
    bool operator>(const Date& other) const { return Compare(other) > 0; }

    // Shifts by any number of days, months or years. A month shift keeps the day unless the new
    // month is shorter; a year shift turns 29 February into 28 February in a common year.
    bool AddDays(int n);
    bool SubtractDays(int n);
    bool NextDay();
    bool PreviousDay();
    Date& operator++();
    Date operator++(int);
    Date& operator--();
    Date operator--(int);
    bool AddMonths(int n);
    bool SubtractMonths(int n);
    bool AddYears(int n);
    bool SubtractYears(int n);
    // Copies shifted by n days.
    Date operator+(int n) const;
    Date operator-(int n) const;

    // Days from the other date to this one. With a null date: 0 when both are null, -1 when only
    // this one is, 1 when only the other is.
    int DaysBetween(const Date& other) const;
    int operator-(const Date& other) const { return DaysBetween(other); }
    // The smallest number of months (years) that, added to the earlier date, reaches or passes
    // the later one; negative when the other date is the later. 0 when either is null.
    int MonthsBetween(const Date& other) const;
    int YearsBetween(const Date& other) const;

    // The date as text by the flags of DateTimeFlags.h, its parts in the order's sequence and
    // joined by the separator (none when it is '\0'). A month name forces order 0 and a blank.
    std::string Format(unsigned flags, int order, char separator) const;
    // Format with "-" between the parts when dash is set, "/" otherwise.
    std::string FormatSlashOrDash(unsigned flags, int order, bool dash) const;

    // The current local date, or the null date when the clock is outside 2000 to 2100.
    static Date Today();

private:
    // Days since 1 January 2000 of a date that is not null, and the date of such a count.
    int DayIndex() const;
    static Date FromDayIndex(int index);
    void SetFields(int day, int month, int year);
    bool ShiftDays(int64_t n);
    bool ShiftMonths(int64_t n);
    bool ShiftYears(int64_t n);

    uint16_t word_ = 0;
};

// True for (0, 0, 0), or for a month 1 to 12, a day within that month and a year offset 0 to
// 100 from 2000.
bool IsValidDate(int day, int month, int yearOffset);
// True exactly when Date::Set (text, order) would succeed.
bool IsValidDateText(std::string_view text, int order);
