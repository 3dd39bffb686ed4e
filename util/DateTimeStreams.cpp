#include "util/DateTimeStreams.h"

#include "util/CharClasses.h"

#include <string>

namespace {

// The numbers are built as text so that the stream's locale never groups their digits.
std::string DateText(const Date& date)
{
    return std::to_string(date.GetDay()) + '/' + std::to_string(date.GetMonth()) + '/'
        + std::to_string(date.GetYear()) + ' ';
}

std::string TimeText(const Time& time)
{
    return std::to_string(time.GetHour()) + ':' + std::to_string(time.GetMinute()) + ':'
        + std::to_string(time.GetSecond()) + ' ';
}

// One word of decimal digits whose value is at most limit; anything else fails the stream. A
// value above the limit is returned as limit + 1, so that it reads as an invalid word.
bool ReadRawWord(std::istream& is, uint64_t limit, uint64_t& value)
{
    std::string word;
    if (!(is >> word))
        return false;
    value = 0;
    for (const char c : word) {
        if (!IsCDigit(c)) {
            is.setstate(std::ios::failbit);
            return false;
        }
        if (value <= limit)
            value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > limit)
        value = limit + 1;
    return true;
}

} // namespace

std::ostream& operator<<(std::ostream& os, const Date& date)
{
    return os << DateText(date);
}

std::ostream& operator<<(std::ostream& os, const Time& time)
{
    return os << TimeText(time);
}

std::ostream& operator<<(std::ostream& os, const DateTime& dateTime)
{
    return os << DateText(dateTime.GetDate()) + ' ' + TimeText(dateTime.GetTime());
}

std::istream& operator>>(std::istream& is, Date& date)
{
    std::string word;
    if (is >> word)
        date.Set(word, DateOrder::kDayMonthYear);
    return is;
}

std::istream& operator>>(std::istream& is, Time& time)
{
    std::string word;
    if (is >> word)
        time.Set(word);
    return is;
}

std::istream& operator>>(std::istream& is, DateTime& dateTime)
{
    Date date = dateTime.GetDate();
    Time time = dateTime.GetTime();
    if (is >> date >> time)
        dateTime = DateTime(date, time);
    return is;
}

std::ostream& WriteRaw(std::ostream& os, const Date& date)
{
    return os << std::to_string(date.GetWord());
}

std::ostream& WriteRaw(std::ostream& os, const Time& time)
{
    return os << std::to_string(time.GetWord());
}

std::ostream& WriteRaw(std::ostream& os, const DateTime& dateTime)
{
    return os << std::to_string(dateTime.GetDate().GetWord()) + ' '
        + std::to_string(dateTime.GetTime().GetWord());
}

std::istream& ReadRaw(std::istream& is, Date& date)
{
    uint64_t word = 0;
    if (ReadRawWord(is, UINT16_MAX, word))
        date = word > UINT16_MAX ? Date() : Date::FromWord(static_cast<uint16_t>(word));
    return is;
}

std::istream& ReadRaw(std::istream& is, Time& time)
{
    uint64_t word = 0;
    if (ReadRawWord(is, UINT32_MAX, word))
        time = word > UINT32_MAX ? Time() : Time::FromWord(static_cast<uint32_t>(word));
    return is;
}

std::istream& ReadRaw(std::istream& is, DateTime& dateTime)
{
    Date date = dateTime.GetDate();
    Time time = dateTime.GetTime();
    if (ReadRaw(ReadRaw(is, date), time))
        dateTime = DateTime(date, time);
    return is;
}

win::Archive& operator<<(win::Archive& ar, const Date& date)
{
    return ar << date.GetWord();
}

win::Archive& operator<<(win::Archive& ar, const Time& time)
{
    return ar << time.GetWord();
}

win::Archive& operator<<(win::Archive& ar, const DateTime& dateTime)
{
    return ar << dateTime.GetDate() << dateTime.GetTime();
}

win::Archive& operator>>(win::Archive& ar, Date& date)
{
    uint16_t word = 0;
    ar >> word;
    date = Date::FromWord(word);
    return ar;
}

win::Archive& operator>>(win::Archive& ar, Time& time)
{
    uint32_t word = 0;
    ar >> word;
    time = Time::FromWord(word);
    return ar;
}

win::Archive& operator>>(win::Archive& ar, DateTime& dateTime)
{
    Date date;
    Time time;
    ar >> date >> time;
    dateTime = DateTime(date, time);
    return ar;
}
