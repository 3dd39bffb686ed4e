// The eight paper lines of the layout document.
#include "model/PaperSpecs.h"

#include "model/DocumentFieldReaders.h"
#include "records/CsvFields.h"

#include <ostream>

namespace {

// Reads a label and then its value, assigning only a value the file holds, so that a truncated
// document leaves the field as it was. Labels are read and not compared.
template <typename T, typename Reader> void ReadLabelledValue(std::istream& in, T& target, Reader reader)
{
    std::string label;
    ReadCsvField(in, label);
    reader(in, target);
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
    // A value that is not a number keeps the field's value.
    int32_t* const numbers[] = { &paperType_, &paperHeight_, &paperWidth_, &marginLeft_, &marginRight_,
        &marginTop_, &marginBottom_ };
    for (int32_t* number : numbers)
        ReadLabelledValue(in, *number, layoutdoc::ReadPresentInt);
    ReadLabelledValue(in, portrait_, layoutdoc::ReadPresentBool);
    KeepPaperTypeInTable();
    ClearModified();
}
