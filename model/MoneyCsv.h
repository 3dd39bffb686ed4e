// Amounts of money in CSV text: a real number of currency units with two decimals ("12345.67"),
// so that every amount reads back to the hundredth.
#pragma once

#include "model/Money.h"

#include <istream>
#include <ostream>
#include <string_view>

// The text of a field as an amount: a real number of units (an empty text is 0, "(x)" is -x)
// rounded to whole hundredths. False, with money unchanged, when the text is not a number.
bool ParseMoney(std::string_view text, Money& money);

// Reads one field as an amount. A field that is not a number, or no field at all (the stream has
// ended), leaves money unchanged. endOfLine tells whether a line end closed the field.
std::istream& ReadCsvMoney(std::istream& in, Money& money, bool& endOfLine);
std::istream& ReadCsvMoney(std::istream& in, Money& money);

// Writes the amount in units with exactly two decimals, quoted, after a comma when leadingComma.
std::ostream& WriteCsvMoney(std::ostream& out, const Money& money, bool leadingComma);
