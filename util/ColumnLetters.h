// Spreadsheet column letters: A to Z are columns 1 to 26, AA to ZZ 27 to 702, AAA 703 and so on.
#pragma once

#include <string>
#include <string_view>

// The letters of a column; empty below 1.
std::string ColumnNumberToLetters(int number);
// The column of the letters (either case) that begin the text; after two or more letters the rest
// is ignored ("AB1" is 28), a single letter counts only alone or before a blank ("A1" is 0). A
// text that starts with a digit is read as a number (StringToInt, 0 when it is none). 0 for an
// empty text, a text that starts with anything else, and a column beyond the int range.
int ColumnLettersToNumber(std::string_view text);
