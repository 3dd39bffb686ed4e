#include "DateTestSupport.h"
#include "util/Clock.h"

#include <vector>

namespace {

struct SetCase {
    int day, month, year;
    bool set;
    int expectedYear; // when set (0 for the null date)
};

TEST(DateSet, TableOfDaysMonthsAndYears)
{
    const std::vector<SetCase> cases = {
        { 29, 2, 2016, true, 2016 },
        { 29, 2, 2015, false, 0 },
        { 29, 2, 2000, true, 2000 }, // divisible by 400: leap
        { 29, 2, 2100, false, 0 }, // divisible by 100 only: common
        { 28, 2, 2100, true, 2100 },
        { 31, 12, 2100, true, 2100 }, // the last date
        { 1, 1, 2101, false, 0 },
        { 31, 12, 1999, false, 0 },
        { 1, 1, 2000, true, 2000 }, // the first date
        { 31, 4, 2015, false, 0 },
        { 30, 4, 2015, true, 2015 },
        { 32, 1, 2015, false, 0 },
        { 1, 13, 2015, false, 0 },
        { -1, 1, 2015, false, 0 },
        { 1, -1, 2015, false, 0 },
        { 1, 1, 15, true, 2015 }, // two-digit years 0-49 are 2000-2049
        { 1, 1, 0, true, 2000 },
        { 31, 12, 49, true, 2049 },
        { 1, 1, 50, false, 0 }, // 50-99 are 1950-1999: refused
        { 1, 1, 75, false, 0 },
        { 1, 1, 99, false, 0 },
        { 1, 1, 100, false, 0 },
        { 1, 1, -5, false, 0 },
        { 1, 1, INT32_MIN, false, 0 },
        { 1, 1, INT32_MAX, false, 0 },
        { 0, 0, 0, true, 0 }, // the null date
        { 0, 0, 2000, true, 0 }, // (0, 0, offset 0) is the null date too
        { 0, 0, 2015, false, 0 },
        { 0, 5, 2015, false, 0 },
    };
    for (const auto& c : cases) {
        Date date = MakeDate(5, 6, 2015);
        EXPECT_EQ(date.Set(c.day, c.month, c.year), c.set) << c.day << "/" << c.month << "/" << c.year;
        if (!c.set) {
            EXPECT_EQ(Text(date), "5/6/2015") << "unchanged after a refusal: " << c.year;
        } else if (c.expectedYear == 0) {
            EXPECT_EQ(date.GetWord(), 0);
        } else {
            EXPECT_EQ(date.GetDay(), c.day);
            EXPECT_EQ(date.GetMonth(), c.month);
            EXPECT_EQ(date.GetYear(), c.expectedYear);
            EXPECT_EQ(date.GetYearOffset(), c.expectedYear - 2000);
            EXPECT_TRUE(date.IsValid());
        }
    }
}

TEST(DateSet, PackedWordAndOrderOfWords)
{
    const Date date = MakeDate(5, 6, 2015);
    EXPECT_EQ(date.GetWord(), 5 + 6 * 32 + 15 * 512);
    EXPECT_EQ(MakeDate(31, 12, 2100).GetWord(), 31 + 12 * 32 + 100 * 512);
    // Comparing the words compares the dates; the null date comes first.
    const std::vector<Date> ascending = { Date(), MakeDate(1, 1, 2000), MakeDate(31, 1, 2000),
        MakeDate(1, 2, 2000), MakeDate(31, 12, 2099), MakeDate(1, 1, 2100), MakeDate(31, 12, 2100) };
    for (std::size_t i = 0; i < ascending.size(); ++i)
        for (std::size_t j = 0; j < ascending.size(); ++j) {
            EXPECT_EQ(ascending[i].Compare(ascending[j]), i < j ? -1 : i > j ? 1 : 0);
            EXPECT_EQ(ascending[i] < ascending[j], i < j);
            EXPECT_EQ(ascending[i] > ascending[j], i > j);
            EXPECT_EQ(ascending[i] != ascending[j], i != j);
        }
}

TEST(DateSet, MissingMonthTakesTheCurrentOne)
{
    const ScopedClock clock([] { return LocalMoment { 2019, 7, 31, 23, 59, 59 }; });
    Date date;
    ASSERT_TRUE(date.Set(15, 0, 2015));
    EXPECT_EQ(Text(date), "15/7/2015");
    ASSERT_TRUE(date.Set(31, 0, 2016));
    EXPECT_EQ(Text(date), "31/7/2016");
    const ScopedClock february([] { return LocalMoment { 2019, 2, 1, 0, 0, 0 }; });
    EXPECT_FALSE(date.Set(30, 0, 2016)) << "30 February";
    EXPECT_EQ(Text(date), "31/7/2016");
    ASSERT_TRUE(date.Set(0, 0, 0)); // no day: the null date, the clock is not asked
    EXPECT_EQ(date.GetWord(), 0);
}

TEST(DateCalendar, LeapYearsAndMonthLengths)
{
    for (const auto& [year, leap] : std::vector<std::pair<int, bool>> { { 2000, true }, { 2100, false },
             { 1900, false }, { 2400, true }, { 2016, true }, { 2015, false } })
        EXPECT_EQ(Date::IsLeapYear(year), leap) << year;
    EXPECT_TRUE(Date().IsLeapYear()); // the null date's year is 2000
    EXPECT_FALSE(MakeDate(1, 3, 2100).IsLeapYear());

    const int common[] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(Date::DaysInMonth(month, 2015), common[month - 1]);
        EXPECT_EQ(Date::DaysInMonth(month, 2016), month == 2 ? 29 : common[month - 1]);
    }
    // Months outside 1 to 12 have no days, however far outside.
    for (const int month : { 0, 13, 14, -1, 1000, INT32_MIN, INT32_MAX })
        EXPECT_EQ(Date::DaysInMonth(month, 2016), 0) << month;
    EXPECT_EQ(Date().DaysInMonth(), 0);
    EXPECT_EQ(MakeDate(10, 2, 2016).DaysInMonth(), 29);
}

TEST(DateCalendar, ValidityOfFields)
{
    EXPECT_TRUE(IsValidDate(0, 0, 0));
    EXPECT_TRUE(IsValidDate(31, 12, 100));
    EXPECT_FALSE(IsValidDate(1, 1, 101));
    EXPECT_FALSE(IsValidDate(1, 1, -1));
    EXPECT_FALSE(IsValidDate(0, 1, 0));
    EXPECT_FALSE(IsValidDate(1, 0, 0));
    EXPECT_FALSE(IsValidDate(29, 2, 100));
    EXPECT_TRUE(IsValidDate(29, 2, 96));
}

// Every date from 2000 to 2100, stepped one day at a time, against the standard library's
// calendar: the day count, the weekday and the validity of each.
TEST(DateCalendar, EveryDayAgainstTheStandardCalendar)
{
    const Date first = MakeDate(1, 1, 2000);
    Date date = first;
    int index = 0;
    do {
        ASSERT_TRUE(date.IsValid()) << Text(date);
        ASSERT_EQ(date.DaysBetween(first), index) << Text(date);
        ASSERT_EQ((Civil(date) - Civil(first)).count(), index) << Text(date);
        const std::chrono::weekday weekday(Civil(date));
        ASSERT_EQ(date.GetWeekday(), static_cast<int>(weekday.iso_encoding()) - 1) << Text(date);
        ++index;
    } while (date.NextDay());
    EXPECT_EQ(Text(date), "31/12/2100");
    EXPECT_EQ(index, 36890);
}

TEST(DateCalendar, WeekdaysOfTheExamples)
{
    EXPECT_EQ(MakeDate(25, 6, 2015).GetWeekday(), 3); // Thursday
    EXPECT_EQ(MakeDate(1, 1, 2016).GetWeekday(), 4); // Friday
    EXPECT_EQ(MakeDate(29, 2, 2016).GetWeekday(), 0); // Monday
    EXPECT_EQ(MakeDate(1, 1, 2000).GetWeekday(), 5); // Saturday
    EXPECT_EQ(MakeDate(31, 12, 2100).GetWeekday(), 4); // Friday
}

TEST(DateNames, NamesAndLookUps)
{
    EXPECT_EQ(Date::MonthName(1, false), "January");
    EXPECT_EQ(Date::MonthName(12, false), "December");
    EXPECT_EQ(Date::MonthName(9, true), "Sep");
    EXPECT_EQ(Date::MonthName(0, false), "Bad");
    EXPECT_EQ(Date::MonthName(13, true), "Bad");
    EXPECT_EQ(Date::MonthName(-1, true), "Bad");
    // The weekday flag reads the other way round: true is the full name.
    EXPECT_EQ(Date::WeekdayName(0, true), "Monday");
    EXPECT_EQ(Date::WeekdayName(6, false), "Sun");
    EXPECT_EQ(Date::WeekdayName(4, false), "Fri");
    EXPECT_EQ(Date::WeekdayName(7, true), "Bad");
    EXPECT_EQ(Date::WeekdayName(-1, false), "Bad");

    EXPECT_EQ(Date::WeekdayFromName("Sun"), 6);
    EXPECT_EQ(Date::WeekdayFromName("Monday"), 0);
    EXPECT_EQ(Date::WeekdayFromName("monday"), 7);
    EXPECT_EQ(Date::WeekdayFromName(""), 7);
    EXPECT_EQ(Date::MonthFromName("May"), 5);
    EXPECT_EQ(Date::MonthFromName("Dec"), 12);
    EXPECT_EQ(Date::MonthFromName("September"), 9);
    EXPECT_EQ(Date::MonthFromName("Null"), 0);
    EXPECT_EQ(Date::MonthFromName("Bad"), 0);
    EXPECT_EQ(Date::MonthFromName("JAN"), 0);
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(Date::MonthFromName(Date::MonthName(month, true)), month);
        EXPECT_EQ(Date::MonthFromName(Date::MonthName(month, false)), month);
    }
}

TEST(DateClock, TodayAndNowComeFromTheClock)
{
    {
        const ScopedClock clock([] { return LocalMoment { 2024, 2, 29, 13, 5, 9 }; });
        EXPECT_EQ(Text(Date::Today()), "29/2/2024");
        EXPECT_EQ(Text(Time::Now()), "13:5:9");
    }
    {
        const ScopedClock clock([] { return LocalMoment { 1999, 12, 31, 23, 59, 60 }; });
        EXPECT_EQ(Date::Today().GetWord(), 0) << "a clock before 2000 gives the null date";
        EXPECT_EQ(Text(Time::Now()), "23:59:0") << "a leap second becomes 0";
    }
    {
        const ScopedClock clock([] { return LocalMoment { 2101, 1, 1, 0, 0, 0 }; });
        EXPECT_EQ(Date::Today().GetWord(), 0);
    }
    // The system clock is back: today is a valid date (or null outside 2000 to 2100).
    EXPECT_TRUE(Date::Today().IsValid());
}

} // namespace
