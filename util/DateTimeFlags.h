// The flag bits that choose the parts of a formatted date, time or date and time, and the orders
// in which the numbers of a date are read and written.
#pragma once

namespace DateTimeFlags {

inline constexpr unsigned kYearTwoDigits = 0x001; // the year less 2000, at least two digits
inline constexpr unsigned kYearFourDigits = 0x002;
inline constexpr unsigned kMonthNumber = 0x004; // two digits
inline constexpr unsigned kDayNumber = 0x008; // two digits
inline constexpr unsigned kHour = 0x010;
inline constexpr unsigned kMinute = 0x020;
inline constexpr unsigned kSecond = 0x040;
inline constexpr unsigned kMonthShortName = 0x100; // forces order 0 and blank separators
inline constexpr unsigned kMonthFullName = 0x200; // likewise
inline constexpr unsigned kWeekdayShortName = 0x400; // before the day, with a blank after it
inline constexpr unsigned kWeekdayFullName = 0x800; // likewise

inline constexpr unsigned kDateParts = 0xF0F;
inline constexpr unsigned kTimeParts = 0x070;

} // namespace DateTimeFlags

// The sequence of the day, month and year numbers in date texts.
namespace DateOrder {

inline constexpr int kDayMonthYear = 0;
inline constexpr int kYearMonthDay = 1;
inline constexpr int kMonthDayYear = 2;

} // namespace DateOrder
