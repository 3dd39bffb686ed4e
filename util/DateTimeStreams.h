// Dates and times on text streams and in archives.
//
// Text form: a date as day/month/year and a blank ("5/6/2015 "), a time as hour:minute:second
// and a blank ("14:5:9 "), numbers without leading zeros; a date and time as the date text, a
// blank and the time text. Reading takes one blank-delimited word for a date (order day, month,
// year) or a time, two for a date and time; a word that cannot be read leaves the value as it
// was, and a date word that is not a valid date leaves the date unchanged.
//
// Raw form: the packed words in decimal, a date and time as the date number, a blank and the
// time number. Archive form: the 16-bit date word, the 32-bit time word, a date and time the
// date word followed by the time word. A word read back that is not a valid date reads as the
// null date, one that is not a valid time as 0:00:00; a raw word that is not a decimal number
// fails the stream and leaves the value as it was.
#pragma once

#include "platform/win/Archive.h"
#include "util/DateTime.h"

#include <istream>
#include <ostream>

std::ostream& operator<<(std::ostream& os, const Date& date);
std::ostream& operator<<(std::ostream& os, const Time& time);
std::ostream& operator<<(std::ostream& os, const DateTime& dateTime);
std::istream& operator>>(std::istream& is, Date& date);
std::istream& operator>>(std::istream& is, Time& time);
std::istream& operator>>(std::istream& is, DateTime& dateTime);

std::ostream& WriteRaw(std::ostream& os, const Date& date);
std::ostream& WriteRaw(std::ostream& os, const Time& time);
std::ostream& WriteRaw(std::ostream& os, const DateTime& dateTime);
std::istream& ReadRaw(std::istream& is, Date& date);
std::istream& ReadRaw(std::istream& is, Time& time);
std::istream& ReadRaw(std::istream& is, DateTime& dateTime);

win::Archive& operator<<(win::Archive& ar, const Date& date);
win::Archive& operator<<(win::Archive& ar, const Time& time);
win::Archive& operator<<(win::Archive& ar, const DateTime& dateTime);
win::Archive& operator>>(win::Archive& ar, Date& date);
win::Archive& operator>>(win::Archive& ar, Time& time);
win::Archive& operator>>(win::Archive& ar, DateTime& dateTime);
