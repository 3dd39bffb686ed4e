#include "DateTestSupport.h"
#include "util/Clock.h"
#include "util/DateTime.h"
#include "util/DigitReading.h"

#include <vector>

namespace {

struct TextCase {
    std::string text;
    int order;
    bool set;
    std::string result; // when set
};

TEST(DateText, ReadsThreeNumbersInTheOrder)
{
    const std::vector<TextCase> cases = {
        { "5/6/2015", DateOrder::kDayMonthYear, true, "5/6/2015" },
        { "2015.6.5", DateOrder::kYearMonthDay, true, "5/6/2015" },
        { "6-5-2015", DateOrder::kMonthDayYear, true, "5/6/2015" },
        { "  05 06 15", DateOrder::kDayMonthYear, true, "5/6/2015" }, // leading blanks, two-digit year
        { "29/2/16", DateOrder::kDayMonthYear, true, "29/2/2016" },
        { "29/2/15", DateOrder::kDayMonthYear, false, "" },
        { "1/1/75", DateOrder::kDayMonthYear, false, "" },
        { "31/12/2100", DateOrder::kDayMonthYear, true, "31/12/2100" },
        { "1/1/2101", DateOrder::kDayMonthYear, false, "" },
        { "5//2015", DateOrder::kDayMonthYear, true, "5/2/2015" }, // month 0 with a day: the clock's month
        { "5/6", DateOrder::kDayMonthYear, true, "5/6/2000" }, // no year: 0 is 2000
        { "", DateOrder::kDayMonthYear, true, "" }, // all zero: the null date
        { "0/0/0", DateOrder::kDayMonthYear, true, "" },
        { "x5/6/2015", DateOrder::kDayMonthYear, false, "" }, // the x is the first number's end
        // One character ends each number: here 5, then 0 (the "/") and 0 (the blank).
        { "5 / 6 / 2015", DateOrder::kDayMonthYear, true, "5/2/2000" },
        { "5/6/2015", 3, false, "" },
        { "5/6/2015", -1, false, "" },
        { "5/6/99999999999999999999", DateOrder::kDayMonthYear, false, "" },
        { "99999999999999999999/6/2015", DateOrder::kDayMonthYear, false, "" },
    };
    const ScopedClock clock([] { return LocalMoment { 2019, 2, 10, 0, 0, 0 }; });
    for (const auto& c : cases) {
        Date date = MakeDate(7, 7, 2007);
        EXPECT_EQ(date.Set(c.text, c.order), c.set) << c.text;
        EXPECT_EQ(IsValidDateText(c.text, c.order), c.set) << c.text;
        if (!c.set)
            EXPECT_EQ(Text(date), "7/7/2007") << c.text;
        else if (c.result.empty())
            EXPECT_EQ(date.GetWord(), 0) << c.text;
        else
            EXPECT_EQ(Text(date), c.result) << c.text;
    }
}

TEST(DateText, ValidityFollowsSettingExactly)
{
    // The check takes two-digit years and four-digit years as setting does.
    EXPECT_TRUE(IsValidDateText("5/6/2015", DateOrder::kDayMonthYear));
    EXPECT_TRUE(IsValidDateText("5/6/15", DateOrder::kDayMonthYear));
    EXPECT_FALSE(IsValidDateText("5/6/60", DateOrder::kDayMonthYear));
    EXPECT_FALSE(IsValidDateText("5/6/100", DateOrder::kDayMonthYear));
    const ScopedClock clock([] { return LocalMoment { 2019, 4, 10, 0, 0, 0 }; });
    EXPECT_TRUE(IsValidDateText("30//2015", DateOrder::kDayMonthYear));
    EXPECT_FALSE(IsValidDateText("31//2015", DateOrder::kDayMonthYear)) << "31 April";
}

TEST(DigitReading, NumbersStopGrowingBeforeOverflow)
{
    int number = -1;
    EXPECT_EQ(ReadLeadingNumber("12/3", 0, number), 3u);
    EXPECT_EQ(number, 12);
    EXPECT_EQ(ReadLeadingNumber("12", 0, number), 2u);
    EXPECT_EQ(ReadLeadingNumber("/3", 0, number), 1u);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(ReadLeadingNumber("", 0, number), 0u);

    EXPECT_EQ(ReadDigitRun("2147483647x", 0, number), 10u);
    EXPECT_EQ(number, 2147483647);
    EXPECT_EQ(ReadDigitRun("2147483648", 0, number), 10u);
    EXPECT_EQ(number, 214748364) << "the digit that would overflow is passed over";
    EXPECT_EQ(ReadDigitRun("99999999999999999999999:", 0, number), 23u);
    EXPECT_EQ(number, 999999999);
}

struct TimeCase {
    std::string text;
    int hour, minute, second;
};

TEST(TimeText, ParsesColonAndCompactForms)
{
    const std::vector<TimeCase> cases = {
        { "930", 9, 30, 0 },
        { "0930", 9, 30, 0 },
        { "143015", 14, 30, 15 },
        { " 9:30", 9, 30, 0 },
        { "9:30", 9, 30, 0 },
        { "9:30:15", 9, 30, 15 },
        { "9::15", 9, 0, 15 },
        { "9h30", 9, 0, 0 },
        { "9:30pm", 9, 30, 0 },
        { "160", 16, 0, 0 }, // a last pair of 60 or more is one digit
        { "175", 17, 5, 0 },
        { "9", 9, 0, 0 },
        { "23", 23, 0, 0 },
        { " 9", 9, 0, 0 },
        { "  930", 0, 9, 30 }, // the length counts the leading blanks: five characters
        { "14307", 1, 43, 7 }, // five characters: second 07, then minute 43 and hour 1
        { "1430 ", 1430, 0, 0 }, // a trailing blank ends the hour; no compact form
        { "12:5:7:9", 12, 5, 7 },
        { ":30", 0, 30, 0 },
        { "", 0, 0, 0 },
        { "   ", 0, 0, 0 },
        { "abc", 0, 0, 0 },
        // The number stops growing at 999999999: second 99 is too big, so 9; minute 99; hour 999999.
        { "99999999999999999999", 999999, 99, 9 },
    };
    for (const auto& c : cases) {
        const TimeParts parts = ParseTimeText(c.text);
        EXPECT_EQ(parts.hour, c.hour) << c.text;
        EXPECT_EQ(parts.minute, c.minute) << c.text;
        EXPECT_EQ(parts.second, c.second) << c.text;
    }
}

TEST(TimeText, OutOfRangePartsBecomeZero)
{
    Time time(10, 10, 10);
    time.Set("24:61:59");
    EXPECT_EQ(Text(time), "0:0:59");
    time.Set("2460"); // hour 24, minute 60 is too big: minute 0, hour 246
    EXPECT_EQ(Text(time), "0:0:0");
    EXPECT_TRUE(IsValidTimeText("23:59:59"));
    EXPECT_FALSE(IsValidTimeText("24:00"));
    EXPECT_FALSE(IsValidTimeText("12:60"));
    EXPECT_FALSE(IsValidTimeText("1430 "));
    EXPECT_FALSE(IsValidTimeText("99999999999999999999"));
    EXPECT_TRUE(IsValidTime(0, 0, 0));
    EXPECT_FALSE(IsValidTime(-1, 0, 0));
    EXPECT_FALSE(IsValidTime(0, 0, 60));
}

struct DateTimeCase {
    std::string text;
    int order;
    std::string date;
    std::string time;
};

TEST(DateTimeText, TheDateEndsAtABlankOrAtAMinusAfterItsThirdNumber)
{
    const ScopedClock clock([] { return LocalMoment { 2019, 2, 10, 0, 0, 0 }; });
    const std::vector<DateTimeCase> cases = {
        { "2015-06-05 10:00", DateOrder::kYearMonthDay, "5/6/2015", "10:0:0" },
        { "5-6-2015", DateOrder::kDayMonthYear, "5/6/2015", "0:0:0" },
        { "05/06/2015-10:00", DateOrder::kDayMonthYear, "5/6/2015", "10:0:0" },
        { "05/06/2015 10:00", DateOrder::kDayMonthYear, "5/6/2015", "10:0:0" },
        { "5/6/2015 14:30:15", DateOrder::kDayMonthYear, "5/6/2015", "14:30:15" },
        { "6-5-2015-14:30", DateOrder::kMonthDayYear, "5/6/2015", "14:30:0" },
        { "2015/6/5", DateOrder::kYearMonthDay, "5/6/2015", "0:0:0" },
        { "  5/6/2015 10:00", DateOrder::kDayMonthYear, "5/6/2015", "10:0:0" }, // leading blanks
        { "5/6 10:00", DateOrder::kDayMonthYear, "5/6/2000", "10:0:0" }, // the blank comes first
    };
    for (const DateTimeCase& c : cases) {
        SCOPED_TRACE(c.text);
        const DateTime read(c.text, c.order);
        EXPECT_EQ(Text(read.GetDate()), c.date);
        EXPECT_EQ(Text(read.GetTime()), c.time);
    }
    EXPECT_TRUE(DateTime("31/2/2015 10:00", DateOrder::kDayMonthYear).IsNull());
}

} // namespace
