// Spreadsheet column letters: A to Z are columns 1 to 26, AA to ZZ 27 to 702, AAA 703 and so on.
#pragma once

#include <string>
#include <string_view>

// The letters of a column; empty below 1.
std::string ColumnNumberToLetters(int number);
// The column of letters (either case) that run to the end of the text or to a blank; a text that
// starts with a digit is read as a number (StringToInt, 0 when it is none). 0 for an empty text,
// for any other character among the letters, and for a column beyond the int range.
int ColumnLettersToNumber(std::string_view text);
