// Positional reading of the catalogue file: one field after another, each converted by its type,
// remembering whether the last field ended its line so that the rest of a line is skipped only
// when there is a rest. A field the file does not hold (the stream has ended) leaves its target
// as it was; a field that is not a number leaves a number or flag as it was; an empty number
// field reads as 0.
#pragma once

#include "model/Money.h"

#include <cstdint>
#include <istream>
#include <string>

class CsvCursor {
public:
    explicit CsvCursor(std::istream& in)
        : in_(in)
    {
    }

    std::istream& Stream() { return in_; }

    // Each reads the next field and returns whether there was one.
    bool Text(std::string& text);
    bool Bool(bool& flag);
    bool Unsigned(uint32_t& value);
    bool Int(int32_t& value);
    bool Double(double& value);
    bool Price(Money& money);
    bool Skip();

    // True when the last field read was closed by a line end, or the stream held no further field.
    bool LastEndedLine() const { return lastEndedLine_; }
    // Reads fields up to the end of the current line, unless the last field already ended it.
    void SkipRestOfLine();
    // Reads fields up to and including the next one that ends its line.
    void SkipLine();

private:
    // The next field's text, or false at the end of the stream.
    bool Next(std::string& text);
    // The next field parsed into value; a field that does not parse leaves value as it was.
    template <typename T, typename Parse> bool Parsed(T& value, Parse parse)
    {
        std::string text;
        if (!Next(text))
            return false;
        parse(text, value);
        return true;
    }

    std::istream& in_;
    bool lastEndedLine_ = false;
};
