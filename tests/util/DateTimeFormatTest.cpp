#include "DateTestSupport.h"
#include "util/DateTime.h"

#include <vector>

namespace {

struct FormatCase {
    unsigned flags;
    int order;
    char separator;
    std::string expected;
};

TEST(DateFormat, FlagsOrdersAndSeparators)
{
    const Date date = MakeDate(5, 6, 2015); // a Friday
    const std::vector<FormatCase> cases = {
        { 0x00A, 0, '/', "05/2015" }, { 0x00E, 0, '/', "05/06/2015" }, { 0x00D, 1, '-', "15-06-05" },
        { 0x00C, 1, '/', "06/05" }, { 0x00C, 2, '/', "06/05" }, { 0x20A, 0, '/', "05 June 2015" },
        { 0x90A, 2, '/', "Friday 05 Jun 2015" }, { 0x40C, 2, '/', "06/Fri 05" }, { 0x002, 0, '/', "2015" },
        { 0x002, 1, '/', "2015" }, { 0x002, 2, '/', "2015" }, { 0x00E, 2, '.', "06.05.2015" },
        { 0x00E, 0, '\0', "05062015" }, { 0x003, 0, '/', "2015" }, // four digits win over two
        { 0x001, 0, '/', "15" },
        { 0x104, 0, '/', "06" }, // the month number wins over the names, but the blank is forced
        { 0x10C, 1, '/', "05 06" }, { 0x300, 0, '/', "Jun" },
        { 0x400, 0, '/', "Fri " }, // the weekday keeps its blank
        { 0xC08, 0, '/', "Fri Friday 05" }, { 0x070, 0, '/', "" }, // time bits mean nothing here
        { 0x000, 0, '/', "" }, { 0x00E, 7, '/', "05/06/2015" }, // an unknown order writes as order 0
    };
    for (const auto& c : cases)
        EXPECT_EQ(date.Format(c.flags, c.order, c.separator), c.expected)
            << std::hex << c.flags << " " << c.order;
    EXPECT_EQ(MakeDate(1, 1, 2000).Format(0x00D, 0, '/'), "01/01/00");
    EXPECT_EQ(MakeDate(31, 12, 2100).Format(0x00D, 0, '/'), "31/12/100");
    EXPECT_EQ(date.FormatSlashOrDash(0x00E, 0, true), "05-06-2015");
    EXPECT_EQ(date.FormatSlashOrDash(0x00E, 0, false), "05/06/2015");
}

TEST(TimeFormat, Parts)
{
    const Time time(14, 5, 9);
    EXPECT_EQ(time.Format(0x70), "14:05:09");
    EXPECT_EQ(time.Format(0x50), "14:09");
    EXPECT_EQ(time.Format(0x30), "14:05");
    EXPECT_EQ(time.Format(0x60), "05:09");
    EXPECT_EQ(time.Format(0x20), "05");
    EXPECT_EQ(time.Format(0x10), "14");
    EXPECT_EQ(time.Format(0x1A), "14");
    EXPECT_EQ(time.Format(0x00), "");
    EXPECT_EQ(Time().Format(0x70), "00:00:00");
}

TEST(DateTimeFormat, DateBlankTime)
{
    DateTime moment;
    ASSERT_TRUE(moment.Set(5, 6, 2015, 14, 5, 9));
    EXPECT_EQ(moment.Format(0x07E, 0), "05/06/2015 14:05:09");
    EXPECT_EQ(moment.Format(0x00E, 1), "2015/06/05");
    EXPECT_EQ(moment.Format(0x070, 0), "14:05:09");
    EXPECT_EQ(moment.Format(0x230, 0), "June 14:05");
    EXPECT_EQ(moment.Format(0x000, 0), "");
}

TEST(DateTimeValue, SetCompareAndDifference)
{
    DateTime a;
    EXPECT_TRUE(a.IsNull());
    EXPECT_FALSE(a.Set(29, 2, 2015, 10, 0, 0)) << "the date is refused";
    EXPECT_EQ(Text(a.GetTime()), "10:0:0") << "the time is set first";
    EXPECT_TRUE(a.IsNull());
    ASSERT_TRUE(a.Set(1, 1, 2016, 0, 0, 1));
    DateTime b;
    ASSERT_TRUE(b.Set(31, 12, 2015, 23, 59, 59));
    EXPECT_EQ(a.Compare(b), 1);
    EXPECT_TRUE(a > b);
    EXPECT_EQ(a - b, 2);
    EXPECT_EQ(b - a, -2);
    b.SetTime("0:0:2");
    EXPECT_EQ(a - b, 86399);
    DateTime first, last;
    ASSERT_TRUE(first.Set(1, 1, 2000, 0, 0, 0));
    ASSERT_TRUE(last.Set(31, 12, 2100, 23, 59, 59));
    EXPECT_EQ(last - first, int64_t { 36890 } * 86400 - 1) << "beyond 32 bits";
}

} // namespace
