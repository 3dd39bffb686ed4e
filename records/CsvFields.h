// Comma-separated fields, read and written one at a time on caller-owned streams. Readers pull
// one field in the order the file format prescribes and convert it; writers append one quoted
// field. Neither writes nor expects line ends of its own beyond what is described here.
//
// Reading a field: blanks (space, tab) before it are dropped, blanks after it stay; a field may
// be quoted, with "" for a quote; commas and line ends inside quotes belong to the field (a CR,
// CR LF, CR CR or CR CR LF inside quotes reads as one LF). Outside quotes a comma or a line end
// (LF, CR, CR LF, CR CR, CR CR LF) ends the field. The bytes C2 B8 read as a comma.
#pragma once

#include "records/CsvNumbers.h"
#include "records/TextScan.h"

#include <istream>
#include <ostream>
#include <string>

// Reads one field into text and sets endOfLine when a line end closed it. At the end of the
// stream (or on a stream already failed) text is left unchanged and endOfLine false.
std::istream& ReadCsvField(std::istream& is, std::string& text, bool& endOfLine);
// The same, and endedInQuotes tells whether the stream ended while the field's quotes were open:
// a field cut off before its closing quote.
std::istream& ReadCsvField(std::istream& is, std::string& text, bool& endOfLine, bool& endedInQuotes);
std::istream& ReadCsvField(std::istream& is, std::string& text);

// One field parsed as a number: an empty field (or the end of the stream) gives 0; a field that
// is not a number leaves value unchanged.
std::istream& ReadCsvInt(std::istream& is, int& value);
std::istream& ReadCsvUnsigned(std::istream& is, unsigned& value);
std::istream& ReadCsvDouble(std::istream& is, double& value);
// One field as an integer, non-zero meaning true: an empty field (or the end of the stream) gives
// false; a field that is not a number leaves flag unchanged.
std::istream& ReadCsvBool(std::istream& is, bool& flag);
std::istream& ReadCsvBool(std::istream& is, bool& flag, bool& endOfLine);

// Discards up to and including the next LF, at most 1024 characters.
void SkipRestOfLine(std::istream& is);
// Reads fields until one ends its line, or until the stream ends.
void SkipCsvLine(std::istream& is);

// Writers: a comma first when leadingComma is set, then the value in double quotes (inner
// quotes doubled). Booleans are 1 and 0; doubles as printf's "%g".
std::ostream& WriteCsvString(std::ostream& os, const std::string& text, bool leadingComma);
std::ostream& WriteCsvString(std::ostream& os, const char* text, bool leadingComma);
std::ostream& WriteCsvBool(std::ostream& os, bool value, bool leadingComma);
std::ostream& WriteCsvInt(std::ostream& os, int value, bool leadingComma);
std::ostream& WriteCsvUnsigned(std::ostream& os, unsigned value, bool leadingComma);
std::ostream& WriteCsvDouble(std::ostream& os, double value, bool leadingComma);

// The writer of the value's type, for code that writes fields by their type (field tables).
inline std::ostream& WriteCsvValue(std::ostream& os, const std::string& text, bool leadingComma)
{
    return WriteCsvString(os, text, leadingComma);
}
inline std::ostream& WriteCsvValue(std::ostream& os, bool value, bool leadingComma)
{
    return WriteCsvBool(os, value, leadingComma);
}
inline std::ostream& WriteCsvValue(std::ostream& os, int value, bool leadingComma)
{
    return WriteCsvInt(os, value, leadingComma);
}
inline std::ostream& WriteCsvValue(std::ostream& os, unsigned value, bool leadingComma)
{
    return WriteCsvUnsigned(os, value, leadingComma);
}
