#include "model/DocumentFieldReaders.h"

#include "records/CsvFields.h"

namespace layoutdoc {

std::optional<Field> ReadPresentField(std::istream& in)
{
    if (!in.good())
        return std::nullopt;
    // The field reader drops these blanks as well; looking past them tells an empty last field
    // (present) from the end of the file (absent).
    for (int c = in.peek(); c == ' ' || c == '\t'; c = in.peek())
        in.get();
    if (in.peek() == std::char_traits<char>::eof())
        return std::nullopt;
    Field field;
    ReadCsvField(in, field.text, field.endsLine, field.cutInQuotes);
    return field;
}

namespace {
// The next field when the file holds all of it.
std::optional<Field> ReadWholeField(std::istream& in)
{
    auto field = ReadPresentField(in);
    if (field && field->cutInQuotes)
        return std::nullopt;
    return field;
}
} // namespace

bool ReadPresentText(std::istream& in, std::string& text)
{
    auto field = ReadWholeField(in);
    if (!field)
        return false;
    text = std::move(field->text);
    return true;
}

bool ReadPresentInt(std::istream& in, int32_t& value)
{
    const auto field = ReadWholeField(in);
    if (field)
        StringToInt(field->text, value);
    return field.has_value();
}

bool ReadPresentUnsigned(std::istream& in, uint32_t& value)
{
    const auto field = ReadWholeField(in);
    if (field)
        StringToUnsigned(field->text, value);
    return field.has_value();
}

bool ReadPresentBool(std::istream& in, bool& flag)
{
    const auto field = ReadWholeField(in);
    int32_t number = 0;
    if (field && StringToInt(field->text, number))
        flag = number != 0;
    return field.has_value();
}

} // namespace layoutdoc
