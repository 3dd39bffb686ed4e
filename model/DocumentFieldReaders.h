// Field readers for the layout document and the legacy order-form template that tell a missing
// field from an empty one. The CSV readers give 0 or false when the file has ended; these assign
// nothing then, so a truncated file leaves every value it does not reach as it was. A field that
// is present but not a number leaves its target unchanged too; an empty field reads as 0.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace layoutdoc {

// The next field and whether a line end finished it, or nothing when the stream holds no
// further field (only blanks before its end, or it has already failed). cutInQuotes: the file
// ended inside the field's quotes, so the field is not whole.
struct Field {
    std::string text;
    bool endsLine = false;
    bool cutInQuotes = false;
};
std::optional<Field> ReadPresentField(std::istream& in);

// Each returns whether a whole field was there; the target changes only when it was and it
// parsed. A field the file cuts off inside its quotes counts as missing: its text is not the
// value that was written.
bool ReadPresentText(std::istream& in, std::string& text);
bool ReadPresentInt(std::istream& in, int32_t& value);
bool ReadPresentUnsigned(std::istream& in, uint32_t& value);
bool ReadPresentBool(std::istream& in, bool& flag);

// The reader of the target's type, for code that reads fields by their type (field tables).
inline bool ReadPresentValue(std::istream& in, std::string& text)
{
    return ReadPresentText(in, text);
}
inline bool ReadPresentValue(std::istream& in, int32_t& value)
{
    return ReadPresentInt(in, value);
}
inline bool ReadPresentValue(std::istream& in, uint32_t& value)
{
    return ReadPresentUnsigned(in, value);
}
inline bool ReadPresentValue(std::istream& in, bool& flag)
{
    return ReadPresentBool(in, flag);
}

} // namespace layoutdoc
