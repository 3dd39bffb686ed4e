#include "DateTestSupport.h"

#include <climits>
#include <optional>
#include <vector>

namespace {

enum class Unit { days, months, years };

struct ShiftCase {
    Date start;
    Unit unit;
    int n;
    bool shifted;
    std::string result;
};

bool Shift(Date& date, Unit unit, int n, bool subtract)
{
    switch (unit) {
    case Unit::days:
        return subtract ? date.SubtractDays(n) : date.AddDays(n);
    case Unit::months:
        return subtract ? date.SubtractMonths(n) : date.AddMonths(n);
    case Unit::years:
        return subtract ? date.SubtractYears(n) : date.AddYears(n);
    }
    return false;
}

TEST(DateShift, TableOfShifts)
{
    const std::vector<ShiftCase> cases = {
        { MakeDate(31, 12, 2015), Unit::months, 12, true, "31/12/2016" },
        { MakeDate(31, 12, 2015), Unit::months, 2, true, "29/2/2016" },
        { MakeDate(15, 3, 2016), Unit::months, 24, true, "15/3/2018" },
        { MakeDate(31, 1, 2015), Unit::months, 1, true, "28/2/2015" },
        { MakeDate(15, 1, 2017), Unit::months, -13, true, "15/12/2015" },
        { MakeDate(31, 3, 2016), Unit::months, -1, true, "29/2/2016" },
        { MakeDate(15, 1, 2016), Unit::months, -13, true, "15/12/2014" },
        { MakeDate(15, 1, 2000), Unit::months, -1, false, "15/1/2000" },
        { MakeDate(1, 12, 2100), Unit::months, 1, false, "1/12/2100" },
        { MakeDate(1, 1, 2000), Unit::months, 1211, true, "1/12/2100" },
        { MakeDate(29, 2, 2016), Unit::years, 1, true, "28/2/2017" },
        { MakeDate(29, 2, 2016), Unit::years, 4, true, "29/2/2020" },
        { MakeDate(29, 2, 2096), Unit::years, 4, true, "28/2/2100" },
        { MakeDate(29, 2, 2016), Unit::years, -16, true, "29/2/2000" },
        { MakeDate(1, 1, 2000), Unit::years, 100, true, "1/1/2100" },
        { MakeDate(1, 1, 2000), Unit::years, 101, false, "1/1/2000" },
        { MakeDate(1, 1, 2000), Unit::years, -1, false, "1/1/2000" },
        { MakeDate(28, 2, 2016), Unit::days, 1, true, "29/2/2016" },
        { MakeDate(28, 2, 2015), Unit::days, 1, true, "1/3/2015" },
        { MakeDate(31, 12, 2015), Unit::days, 1, true, "1/1/2016" },
        { MakeDate(1, 3, 2016), Unit::days, -1, true, "29/2/2016" },
        { MakeDate(1, 1, 2000), Unit::days, 36889, true, "31/12/2100" },
        { MakeDate(1, 1, 2000), Unit::days, 36890, false, "1/1/2000" },
        { MakeDate(31, 12, 2100), Unit::days, -36889, true, "1/1/2000" },
        { MakeDate(1, 1, 2000), Unit::days, -1, false, "1/1/2000" },
        { MakeDate(5, 6, 2015), Unit::days, 0, true, "5/6/2015" },
        // The largest counts are refused at once, whatever the direction.
        { MakeDate(5, 6, 2015), Unit::days, INT_MAX, false, "5/6/2015" },
        { MakeDate(5, 6, 2015), Unit::days, INT_MIN, false, "5/6/2015" },
        { MakeDate(5, 6, 2015), Unit::months, INT_MAX, false, "5/6/2015" },
        { MakeDate(5, 6, 2015), Unit::months, INT_MIN, false, "5/6/2015" },
        { MakeDate(5, 6, 2015), Unit::years, INT_MAX, false, "5/6/2015" },
        { MakeDate(5, 6, 2015), Unit::years, INT_MIN, false, "5/6/2015" },
    };
    for (const auto& c : cases) {
        for (const bool subtract : { false, true }) {
            // Subtracting n is adding -n; INT_MIN has no negation in int and is tested as given.
            if (subtract && c.n == INT_MIN)
                continue;
            Date date = c.start;
            const int n = subtract ? -c.n : c.n;
            EXPECT_EQ(Shift(date, c.unit, n, subtract), c.shifted) << Text(c.start) << " by " << c.n;
            EXPECT_EQ(Text(date), c.result)
                << Text(c.start) << " by " << c.n << (subtract ? " subtracted" : "");
        }
    }
}

TEST(DateShift, SubtractingTheSmallestIntGoesForward)
{
    Date date = MakeDate(5, 6, 2015);
    EXPECT_FALSE(date.SubtractDays(INT_MIN));
    EXPECT_FALSE(date.SubtractMonths(INT_MIN));
    EXPECT_FALSE(date.SubtractYears(INT_MIN));
    EXPECT_EQ(Text(date), "5/6/2015");
}

TEST(DateShift, NullDateNeverMoves)
{
    Date date;
    EXPECT_FALSE(date.AddDays(1));
    EXPECT_FALSE(date.SubtractDays(1));
    EXPECT_FALSE(date.NextDay());
    EXPECT_FALSE(date.PreviousDay());
    EXPECT_FALSE(date.AddMonths(1));
    EXPECT_FALSE(date.AddYears(1));
    EXPECT_EQ((date + 5).GetWord(), 0);
    EXPECT_EQ(date.GetWord(), 0);
}

TEST(DateShift, StepsAndOperators)
{
    Date date = MakeDate(31, 12, 2015);
    EXPECT_EQ(Text(date++), "31/12/2015");
    EXPECT_EQ(Text(date), "1/1/2016");
    EXPECT_EQ(Text(--date), "31/12/2015");
    EXPECT_EQ(Text(date + 60), "29/2/2016");
    EXPECT_EQ(Text(date - 365), "31/12/2014");
    EXPECT_EQ(Text(date - 5843), "1/1/2000");
    EXPECT_EQ(Text(date - 5844), "31/12/2015") << "out of range: an unchanged copy";
    EXPECT_EQ(Text(date), "31/12/2015");
    Date last = MakeDate(31, 12, 2100);
    EXPECT_FALSE(last.NextDay());
    EXPECT_EQ(Text(++last), "31/12/2100");
    Date first = MakeDate(1, 1, 2000);
    EXPECT_FALSE(first.PreviousDay());
}

TEST(DateDifference, DaysWithNullSentinels)
{
    const Date a = MakeDate(1, 3, 2016);
    const Date b = MakeDate(28, 2, 2016);
    EXPECT_EQ(a.DaysBetween(b), 2);
    EXPECT_EQ(b.DaysBetween(a), -2);
    EXPECT_EQ(a - b, 2);
    EXPECT_EQ(MakeDate(31, 12, 2100) - MakeDate(1, 1, 2000), 36889);
    EXPECT_EQ(Date().DaysBetween(Date()), 0);
    EXPECT_EQ(Date().DaysBetween(a), -1);
    EXPECT_EQ(a.DaysBetween(Date()), 1);
    EXPECT_EQ(a.MonthsBetween(Date()), 0);
    EXPECT_EQ(Date().YearsBetween(a), 0);
}

// The search that defines MonthsBetween and YearsBetween: the smallest n for which the earlier
// date plus n months (years) is not before the later date. Run once per earlier date for all
// later ones (in ascending order): as n grows the shifted copy passes them in turn. A shift that
// leaves 2000 to 2100 fails and ends the search: the dates not yet reached are the ones the next
// step would reach.
std::vector<int> SearchFrom(const Date& earlier, const std::vector<Date>& laterOnes, Unit unit)
{
    std::vector<int> found(laterOnes.size(), -1);
    std::size_t reached = 0;
    int lastShifted = 0;
    for (int n = 0; n <= 1300 && reached < laterOnes.size(); ++n) {
        Date copy = earlier;
        if (!Shift(copy, unit, n, false))
            break;
        lastShifted = n;
        while (reached < laterOnes.size() && !(copy < laterOnes[reached]))
            found[reached++] = n;
    }
    for (; reached < laterOnes.size(); ++reached)
        found[reached] = lastShifted + 1;
    return found;
}

void CheckAgainstSearch(const std::vector<Date>& earlierOnes, const std::vector<Date>& laterOnes)
{
    for (const Unit unit : { Unit::months, Unit::years }) {
        for (const Date& earlier : earlierOnes) {
            std::vector<Date> later;
            for (const Date& date : laterOnes)
                if (!(date < earlier))
                    later.push_back(date);
            const std::vector<int> expected = SearchFrom(earlier, later, unit);
            for (std::size_t k = 0; k < later.size(); ++k) {
                const int forward
                    = unit == Unit::months ? later[k].MonthsBetween(earlier) : later[k].YearsBetween(earlier);
                const int backward
                    = unit == Unit::months ? earlier.MonthsBetween(later[k]) : earlier.YearsBetween(later[k]);
                ASSERT_EQ(forward, expected[k]) << Text(earlier) << " to " << Text(later[k]);
                ASSERT_EQ(backward, -expected[k]) << Text(earlier) << " to " << Text(later[k]);
            }
        }
    }
}

std::vector<Date> MonthStarts(int fromYear, int toYear)
{
    std::vector<Date> dates;
    for (int year = fromYear; year <= toYear; ++year)
        for (int month = 1; month <= 12; ++month)
            dates.push_back(MakeDate(1, month, year));
    return dates;
}

std::vector<Date> MonthEnds(int fromYear, int toYear)
{
    std::vector<Date> dates;
    for (int year = fromYear; year <= toYear; ++year)
        for (int month = 1; month <= 12; ++month)
            dates.push_back(MakeDate(Date::DaysInMonth(month, year), month, year));
    return dates;
}

TEST(DateDifference, MonthsAndYearsBetweenMonthStartsMatchTheSearch)
{
    const std::vector<Date> starts = MonthStarts(2000, 2100);
    CheckAgainstSearch(starts, starts);
}

TEST(DateDifference, MonthsAndYearsBetweenMonthEndsMatchTheSearch)
{
    const std::vector<Date> ends = MonthEnds(2000, 2100);
    std::vector<Date> edges = MonthEnds(2000, 2000);
    for (const Date& date : MonthEnds(2099, 2100))
        edges.push_back(date);
    CheckAgainstSearch(ends, edges);
    CheckAgainstSearch(edges, ends);
}

TEST(DateDifference, MonthsAndYearsByHand)
{
    struct Case {
        Date later, earlier;
        int months, years;
    };
    const std::vector<Case> cases = {
        { MakeDate(31, 12, 2100), MakeDate(30, 11, 2100), 2, 1 }, // 30 December falls short; past 2100
        { MakeDate(31, 12, 2100), MakeDate(1, 1, 2000), 1212, 101 },
        { MakeDate(28, 2, 2017), MakeDate(29, 2, 2016), 12, 1 }, // 29 February plus a year is 28 February
        { MakeDate(1, 3, 2017), MakeDate(29, 2, 2016), 13, 2 },
        { MakeDate(29, 2, 2016), MakeDate(31, 1, 2016), 1, 1 }, // 31 January plus a month: 29 February
        { MakeDate(5, 6, 2015), MakeDate(5, 6, 2015), 0, 0 },
        { MakeDate(6, 6, 2015), MakeDate(5, 6, 2015), 1, 1 }, // a ceiling, not a floor
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.later.MonthsBetween(c.earlier), c.months) << Text(c.earlier) << " to " << Text(c.later);
        EXPECT_EQ(c.later.YearsBetween(c.earlier), c.years) << Text(c.earlier) << " to " << Text(c.later);
        EXPECT_EQ(c.earlier.MonthsBetween(c.later), -c.months);
        EXPECT_EQ(c.earlier.YearsBetween(c.later), -c.years);
    }
}

TEST(DateDifference, AddDaysAgainstTheStandardCalendar)
{
    const Date start = MakeDate(17, 8, 2043);
    for (const int n : { 1, 30, 365, 366, 1000, 20000, 21000, 20958, -1, -365, -15934, -15935 }) {
        Date date = start;
        const bool shifted = date.AddDays(n);
        const auto target = Civil(start) + std::chrono::days(n);
        const std::chrono::year_month_day ymd(target);
        const bool inRange = ymd.year() >= std::chrono::year(2000) && ymd.year() <= std::chrono::year(2100);
        EXPECT_EQ(shifted, inRange) << n;
        if (inRange)
            EXPECT_EQ(Civil(date), target) << n;
        else
            EXPECT_EQ(date, start) << n;
    }
}

} // namespace
