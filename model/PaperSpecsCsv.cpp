// The eight paper lines of the layout document.
#include "model/PaperSpecs.h"

#include "model/DocumentFieldReaders.h"
#include "records/CsvFields.h"

#include <ostream>

namespace {

// Numbers in the classic form whatever the stream's locale; Portrait as 1 or 0.
std::string DocumentText(const std::string& text)
{
    return text;
}
std::string DocumentText(int32_t value)
{
    return FormatInt(value);
}
std::string DocumentText(uint32_t value)
{
    return FormatUnsigned(value);
}
std::string DocumentText(bool value)
{
    return FormatInt(value ? 1 : 0);
}

} // namespace

void PaperSpecs::WriteCsv(std::ostream& out) const
{
    // Unquoted label,value lines.
    fieldtable::ForEach(Fields(), *this, [&](const FieldRow<PaperSpecs>& row, const auto& value) {
        out << row.label << ',' << DocumentText(value) << "\r\n";
    });
}

void PaperSpecs::ReadCsv(std::istream& in, const ReadContext& context)
{
    // Each line is a label, which is read and not compared, and a value, assigned only when the
    // file holds it, so that a truncated document leaves the field as it was. A value that is not
    // a number keeps the field's value.
    fieldtable::ReadHeld(Fields(), *this, context, 0.0, [&](auto& value) {
        std::string label;
        ReadCsvField(in, label);
        layoutdoc::ReadPresentValue(in, value);
    });
    KeepPaperTypeInTable();
    ClearModified();
}
