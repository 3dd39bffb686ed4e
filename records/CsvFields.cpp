#include "records/CsvFields.h"

#include <limits>

namespace {

constexpr int kEof = std::char_traits<char>::eof();
constexpr int kCedillaLead = 0xC2;
constexpr int kCedillaTrail = 0xB8;

// Drops spaces and tabs; the first other character stays. At the end of the stream the read
// fails, which the caller tests.
void SkipBlanks(std::istream& is)
{
    for (;;) {
        const int c = is.get();
        if (c == kEof)
            return;
        if (c != ' ' && c != '\t') {
            is.unget();
            return;
        }
    }
}

// Consumes what follows a CR of a line end: one more CR, then one LF.
void ConsumeAfterCr(std::istream& is)
{
    if (is.peek() == '\r')
        is.get();
    if (is.peek() == '\n')
        is.get();
}

bool ReadNumberField(std::istream& is, std::string& text)
{
    bool endOfLine = false;
    ReadCsvField(is, text, endOfLine);
    return endOfLine;
}

std::ostream& WriteQuoted(std::ostream& os, std::string_view text, bool leadingComma)
{
    if (leadingComma)
        os.put(',');
    os.put('"');
    for (const char c : text) {
        os.put(c);
        if (c == '"')
            os.put('"');
    }
    os.put('"');
    return os;
}

} // namespace

std::istream& ReadCsvField(std::istream& is, std::string& text, bool& endOfLine)
{
    bool endedInQuotes = false;
    return ReadCsvField(is, text, endOfLine, endedInQuotes);
}

std::istream& ReadCsvField(std::istream& is, std::string& text, bool& endOfLine, bool& endedInQuotes)
{
    endOfLine = false;
    endedInQuotes = false;
    SkipBlanks(is);
    if (is.fail() || is.bad())
        return is;
    bool quoted = false;
    if (is.peek() == '"') {
        is.get();
        quoted = true;
    }
    text.clear();
    for (;;) {
        const int c = is.get();
        if (c == kEof) {
            endedInQuotes = quoted;
            return is;
        }
        if (c == '\r' && quoted) {
            // A line end inside quotes is part of the field: one LF, whichever form it has.
            ConsumeAfterCr(is);
            text.push_back('\n');
            continue;
        }
        if (c == '\r' || (c == '\n' && !quoted)) {
            if (c == '\r')
                ConsumeAfterCr(is);
            endOfLine = true;
            return is;
        }
        if (c == ',' && !quoted)
            return is;
        if (c == '"') {
            if (is.peek() == '"') {
                is.get();
                text.push_back('"');
            } else {
                quoted = !quoted;
            }
            continue;
        }
        if (c == kCedillaLead && is.peek() == kCedillaTrail) {
            is.get();
            text.push_back(',');
            continue;
        }
        text.push_back(static_cast<char>(c));
    }
}

std::istream& ReadCsvField(std::istream& is, std::string& text)
{
    bool endOfLine = false;
    return ReadCsvField(is, text, endOfLine);
}

std::istream& ReadCsvInt(std::istream& is, int& value)
{
    std::string text;
    ReadNumberField(is, text);
    StringToInt(text, value);
    return is;
}

std::istream& ReadCsvUnsigned(std::istream& is, unsigned& value)
{
    std::string text;
    ReadNumberField(is, text);
    StringToUnsigned(text, value);
    return is;
}

std::istream& ReadCsvDouble(std::istream& is, double& value)
{
    std::string text;
    ReadNumberField(is, text);
    StringToDouble(text, value);
    return is;
}

std::istream& ReadCsvBool(std::istream& is, bool& flag, bool& endOfLine)
{
    std::string text;
    endOfLine = ReadNumberField(is, text);
    int number = 0;
    if (StringToInt(text, number))
        flag = number != 0;
    return is;
}

std::istream& ReadCsvBool(std::istream& is, bool& flag)
{
    bool endOfLine = false;
    return ReadCsvBool(is, flag, endOfLine);
}

void SkipRestOfLine(std::istream& is)
{
    is.ignore(1024, '\n');
}

void SkipCsvLine(std::istream& is)
{
    std::string field;
    bool endOfLine = false;
    while (!endOfLine && !is.fail() && !is.bad())
        ReadCsvField(is, field, endOfLine);
}

std::ostream& WriteCsvString(std::ostream& os, const std::string& text, bool leadingComma)
{
    return WriteQuoted(os, text, leadingComma);
}

std::ostream& WriteCsvString(std::ostream& os, const char* text, bool leadingComma)
{
    return WriteQuoted(os, text ? std::string_view(text) : std::string_view(), leadingComma);
}

std::ostream& WriteCsvBool(std::ostream& os, bool value, bool leadingComma)
{
    return WriteQuoted(os, value ? "1" : "0", leadingComma);
}

std::ostream& WriteCsvInt(std::ostream& os, int value, bool leadingComma)
{
    return WriteQuoted(os, FormatInt(value), leadingComma);
}

std::ostream& WriteCsvUnsigned(std::ostream& os, unsigned value, bool leadingComma)
{
    return WriteQuoted(os, FormatUnsigned(value), leadingComma);
}

std::ostream& WriteCsvDouble(std::ostream& os, double value, bool leadingComma)
{
    return WriteQuoted(os, FormatDouble(value), leadingComma);
}
