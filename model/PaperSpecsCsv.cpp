// The eight paper lines of the layout document.
#include "model/PaperSpecs.h"

#include "records/CsvFields.h"

#include <ostream>

namespace {

// Drops blanks and tells whether a field follows before the end of the stream.
bool FieldAhead(std::istream& in)
{
    if (!in.good())
        return false;
    int c = in.peek();
    while (c == ' ' || c == '\t') {
        in.get();
        c = in.peek();
    }
    return c != std::char_traits<char>::eof();
}

// Reads a label and its value; the value's text only when the file holds one, so that a
// truncated document leaves the field as it was.
bool ReadLabelledValue(std::istream& in, std::string& value)
{
    std::string label;
    ReadCsvField(in, label);
    if (!FieldAhead(in))
        return false;
    ReadCsvField(in, value);
    return true;
}

} // namespace

void PaperSpecs::WriteCsv(std::ostream& out) const
{
    const struct {
        const char* label;
        int32_t value;
    } lines[] = { { "PaperType", paperType_ }, { "PaperHeight", paperHeight_ }, { "PaperWidth", paperWidth_ },
        { "MarginLeft", marginLeft_ }, { "MarginRight", marginRight_ }, { "MarginTop", marginTop_ },
        { "MarginBottom", marginBottom_ }, { "Portrait", portrait_ ? 1 : 0 } };
    // Unquoted label,value lines; numbers in the classic form whatever the stream's locale.
    for (const auto& line : lines)
        out << line.label << ',' << FormatInt(line.value) << "\r\n";
}

void PaperSpecs::ReadCsv(std::istream& in)
{
    // Labels are read and not compared; a value that is not a number keeps the field's value.
    int32_t* const numbers[] = { &paperType_, &paperHeight_, &paperWidth_, &marginLeft_, &marginRight_,
        &marginTop_, &marginBottom_ };
    std::string text;
    for (int32_t* number : numbers) {
        if (ReadLabelledValue(in, text))
            StringToInt(text, *number);
    }
    int portrait = 0;
    if (ReadLabelledValue(in, text) && StringToInt(text, portrait))
        portrait_ = portrait != 0;
    KeepPaperTypeInTable();
    ClearModified();
}
