#include "util/DateTime.h"

#include "util/CharClasses.h"
#include "util/Clock.h"
#include "util/DigitReading.h"

#include <algorithm>

namespace {

// Where the date of a date-and-time text ends: at the first blank after any leading white space,
// or at the first minus sign after the date's third number, whichever comes first; npos when there
// is neither. The numbers are passed over as Date::Set reads them, so a minus sign between them
// stays a separator of the date.
std::size_t DateEnd(std::string_view text)
{
    std::size_t position = 0;
    while (position < text.size() && IsCSpace(text[position]))
        ++position;
    const std::size_t blank = text.find(' ', position);
    int number = 0;
    position = ReadLeadingNumber(text, position, number);
    position = ReadLeadingNumber(text, position, number);
    position = ReadDigitRun(text, position, number);
    return std::min(blank, text.find('-', position));
}

} // namespace

DateTime::DateTime(std::string_view text, int order)
{
    const std::size_t split = DateEnd(text);
    date_.Set(text.substr(0, split), order);
    if (split != std::string_view::npos)
        time_.Set(text.substr(split + 1));
}

bool DateTime::Set(int day, int month, int year, int hour, int minute, int second)
{
    time_.Set(hour, minute, second);
    return date_.Set(day, month, year);
}

int DateTime::Compare(const DateTime& other) const
{
    const int dates = date_.Compare(other.date_);
    return dates != 0 ? dates : time_.Compare(other.time_);
}

int64_t DateTime::operator-(const DateTime& other) const
{
    return static_cast<int64_t>(date_ - other.date_) * 86400 + (time_ - other.time_);
}

DateTime DateTime::Now()
{
    const LocalMoment now = CurrentLocalMoment();
    DateTime result;
    result.time_.Set(now.hour, now.minute, now.second);
    // A moment outside 2000 to 2100 leaves the date null, as Date::Today does.
    if (now.year >= Date::kBaseYear && now.year <= Date::kLastYear)
        result.date_.Set(now.day, now.month, now.year);
    return result;
}
