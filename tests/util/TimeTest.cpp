#include "DateTestSupport.h"

#include <climits>
#include <vector>

namespace {

TEST(TimeValue, PackingAndConversions)
{
    const Time time(14, 5, 9);
    EXPECT_EQ(time.GetWord(), 9u + 5u * 64 + 14u * 4096);
    EXPECT_EQ(time.ToSeconds(), 14 * 3600 + 5 * 60 + 9);
    EXPECT_DOUBLE_EQ(Time(1, 30, 36).ToHours(), 1.51);
    EXPECT_DOUBLE_EQ(Time(1, 30, 30).ToMinutes(), 90.5);
    for (const auto& [h, m, s, expected] :
        std::vector<std::tuple<int, int, int, std::string>> { { 24, 0, 0, "0:0:0" }, { -1, 5, 5, "0:5:5" },
            { 23, 60, 59, "23:0:59" }, { 1, 2, -3, "1:2:0" }, { INT_MAX, INT_MIN, 59, "0:0:59" } })
        EXPECT_EQ(Text(Time(h, m, s)), expected);
    EXPECT_EQ(Time(1, 0, 0).Compare(Time(0, 59, 59)), 1);
    EXPECT_EQ(Time(0, 59, 59).Compare(Time(1, 0, 0)), -1);
    EXPECT_TRUE(Time(3, 4, 5) == Time(3, 4, 5));
    EXPECT_TRUE(Time(3, 4, 6) > Time(3, 4, 5));
}

enum class Op { addHours, addMinutes, addSeconds, subtractHours, subtractMinutes, subtractSeconds };

int Apply(Time& time, Op op, int n)
{
    switch (op) {
    case Op::addHours:
        return time.AddHours(n);
    case Op::addMinutes:
        return time.AddMinutes(n);
    case Op::addSeconds:
        return time.AddSeconds(n);
    case Op::subtractHours:
        return time.SubtractHours(n);
    case Op::subtractMinutes:
        return time.SubtractMinutes(n);
    case Op::subtractSeconds:
        return time.SubtractSeconds(n);
    }
    return 0;
}

struct ShiftCase {
    Time start;
    Op op;
    int n;
    std::string result;
    int days;
};

TEST(TimeShift, TableOfCarriesAndBorrows)
{
    const std::vector<ShiftCase> cases = {
        { Time(23, 0, 0), Op::addMinutes, 90, "0:30:0", 1 },
        { Time(10, 0, 0), Op::subtractMinutes, 60, "9:0:0", 0 },
        { Time(0, 30, 0), Op::subtractHours, 25, "23:30:0", 2 },
        { Time(23, 0, 0), Op::subtractHours, 25, "22:0:0", 1 },
        { Time(1, 0, 0), Op::subtractHours, 26, "23:0:0", 2 },
        { Time(0, 0, 0), Op::subtractHours, 24, "0:0:0", 1 },
        { Time(10, 0, 0), Op::subtractMinutes, 601, "23:59:0", 1 },
        { Time(10, 1, 0), Op::subtractMinutes, 61, "9:0:0", 0 },
        { Time(10, 0, 0), Op::subtractMinutes, 61, "8:59:0", 0 },
        { Time(22, 0, 0), Op::addHours, 50, "0:0:0", 3 },
        { Time(5, 6, 7), Op::addHours, 0, "5:6:7", 0 },
        { Time(23, 59, 59), Op::addSeconds, 1, "0:0:0", 1 },
        { Time(23, 59, 59), Op::addSeconds, 86401, "0:0:0", 2 },
        { Time(0, 0, 0), Op::subtractSeconds, 1, "23:59:59", 1 },
        { Time(0, 0, 0), Op::subtractSeconds, 86401, "23:59:59", 2 },
        // A negative count goes the other way. The hour and minute shifts count the days moved
        // up; the second shifts give them a sign: AddSeconds negative going back, SubtractSeconds
        // negative going forward.
        { Time(0, 30, 0), Op::addHours, -25, "23:30:0", 2 },
        { Time(23, 0, 0), Op::subtractMinutes, -90, "0:30:0", 1 },
        { Time(0, 0, 0), Op::addSeconds, -1, "23:59:59", -1 },
        { Time(23, 59, 59), Op::subtractSeconds, -1, "0:0:0", -1 },
        { Time(0, 0, 1), Op::addSeconds, -1, "0:0:0", 0 },
        // The extreme counts: no overflow, the days fit.
        { Time(0, 0, 0), Op::addHours, INT_MAX, "7:0:0", 89478485 },
        { Time(0, 0, 0), Op::addHours, INT_MIN, "16:0:0", 89478486 },
        { Time(0, 0, 0), Op::subtractHours, INT_MIN, "8:0:0", 89478485 },
        { Time(0, 0, 0), Op::addMinutes, INT_MAX, "2:7:0", 1491308 },
        { Time(0, 0, 0), Op::subtractMinutes, INT_MIN, "2:8:0", 1491308 },
        { Time(0, 0, 0), Op::addSeconds, INT_MAX, "3:14:7", 24855 },
        { Time(0, 0, 0), Op::addSeconds, INT_MIN, "20:45:52", -24856 },
        { Time(0, 0, 0), Op::subtractSeconds, INT_MIN, "3:14:8", -24855 },
    };
    for (const auto& c : cases) {
        Time time = c.start;
        EXPECT_EQ(Apply(time, c.op, c.n), c.days)
            << Text(c.start) << " op " << static_cast<int>(c.op) << " " << c.n;
        EXPECT_EQ(Text(time), c.result) << Text(c.start) << " op " << static_cast<int>(c.op) << " " << c.n;
    }
}

TEST(TimeShift, CopiesAndDifferences)
{
    const Time time(23, 59, 0);
    EXPECT_EQ(Text(time + 120), "0:1:0");
    EXPECT_EQ(Text(time - 86400), "23:59:0");
    EXPECT_EQ(Text(Time(0, 0, 30) - 31), "23:59:59");
    EXPECT_EQ(Time(10, 0, 0) - Time(9, 59, 1), 59);
    EXPECT_EQ(Time(9, 59, 1) - Time(10, 0, 0), -59);
}

} // namespace
