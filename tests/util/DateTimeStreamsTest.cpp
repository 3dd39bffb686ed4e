#include "util/DateTimeStreams.h"
#include "DateTestSupport.h"

#include <sstream>
#include <vector>

namespace {

TEST(DateTimeStreams, TextFormRoundTrip)
{
    DateTime moment;
    ASSERT_TRUE(moment.Set(5, 6, 2015, 14, 5, 9));
    std::ostringstream os;
    os << moment.GetDate() << moment.GetTime() << moment << Date();
    EXPECT_EQ(os.str(), "5/6/2015 14:5:9 5/6/2015  14:5:9 0/0/2000 ");

    std::istringstream is(os.str());
    Date date;
    Time time;
    DateTime back;
    Date null = MakeDate(1, 1, 2001);
    EXPECT_TRUE(is >> date >> time >> back >> null);
    EXPECT_EQ(date, moment.GetDate());
    EXPECT_EQ(time, moment.GetTime());
    EXPECT_EQ(back, moment);
    EXPECT_EQ(null.GetWord(), 0);
}

TEST(DateTimeStreams, TextFormFailures)
{
    std::istringstream is("31/2/2015 25:00 ");
    Date date = MakeDate(1, 1, 2001);
    Time time(1, 2, 3);
    EXPECT_TRUE(is >> date >> time);
    EXPECT_EQ(Text(date), "1/1/2001") << "an invalid date word leaves the date";
    EXPECT_EQ(Text(time), "0:0:0") << "a time word always sets the time";
    time = Time(1, 2, 3);
    EXPECT_FALSE(is >> date >> time) << "the stream has ended";
    EXPECT_EQ(Text(date), "1/1/2001");
    EXPECT_EQ(Text(time), "1:2:3");
}

TEST(DateTimeStreams, RawFormRoundTripAndInvalidWords)
{
    DateTime moment;
    ASSERT_TRUE(moment.Set(31, 12, 2100, 23, 59, 59));
    std::ostringstream os;
    WriteRaw(os, moment);
    os << ' ';
    WriteRaw(os, MakeDate(5, 6, 2015));
    os << ' ';
    WriteRaw(os, Time(14, 5, 9));
    EXPECT_EQ(os.str(), "51615 98043 7877 57673");

    std::istringstream is(os.str());
    DateTime back;
    Date date;
    Time time;
    EXPECT_TRUE(ReadRaw(ReadRaw(ReadRaw(is, back), date), time));
    EXPECT_EQ(back, moment);
    EXPECT_EQ(Text(date), "5/6/2015");
    EXPECT_EQ(Text(time), "14:5:9");

    // Words that are no valid date or time: 31 February 2015, month 13, day 0 with a month,
    // year offset 101; minute 60, hour 24; beyond the word's range.
    const std::vector<std::string> badDates
        = { "7775", "8101", "7872", "51745", "65535", "65536", "99999999999999999999999" };
    for (const auto& word : badDates) {
        std::istringstream in(word);
        Date read = MakeDate(1, 1, 2001);
        EXPECT_TRUE(ReadRaw(in, read)) << word;
        EXPECT_EQ(read.GetWord(), 0) << word;
    }
    const std::vector<std::string> badTimes = { "3840", "98304", "4294967295", "4294967296" };
    for (const auto& word : badTimes) {
        std::istringstream in(word);
        Time read(1, 2, 3);
        EXPECT_TRUE(ReadRaw(in, read)) << word;
        EXPECT_EQ(read.GetWord(), 0u) << word;
    }
    // A word that is no number fails the stream and leaves the value.
    std::istringstream notNumber("12x");
    Date kept = MakeDate(1, 1, 2001);
    EXPECT_FALSE(ReadRaw(notNumber, kept));
    EXPECT_EQ(Text(kept), "1/1/2001");
}

TEST(DateTimeStreams, ArchiveFormAndInvalidWords)
{
    DateTime moment;
    ASSERT_TRUE(moment.Set(5, 6, 2015, 14, 5, 9));
    win::Archive out;
    out << moment << MakeDate(31, 12, 2100) << Time(23, 59, 59);
    EXPECT_EQ(out.Bytes(), std::string("\xC5\x1E\x49\xE1\x00\x00\x9F\xC9\xFB\x7E\x01\x00", 12));

    win::Archive in(out.Bytes());
    DateTime back;
    Date date;
    Time time;
    in >> back >> date >> time;
    EXPECT_EQ(back, moment);
    EXPECT_EQ(Text(date), "31/12/2100");
    EXPECT_EQ(Text(time), "23:59:59");
    EXPECT_THROW(in >> date, win::ArchiveException);

    // 31 February 2015 and hour 24, minute 63.
    win::Archive bad(std::string("\x5F\x1E\xFF\x8F\x01\x00", 6));
    Date badDate = MakeDate(1, 1, 2001);
    Time badTime(1, 2, 3);
    bad >> badDate >> badTime;
    EXPECT_EQ(badDate.GetWord(), 0);
    EXPECT_EQ(badTime.GetWord(), 0u);
}

} // namespace
