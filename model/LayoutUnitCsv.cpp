// A unit's line of the layout document: 15 fields in the current version, fewer in older ones.
#include "model/DocumentFieldReaders.h"
#include "model/LayoutUnit.h"

#include <ostream>

using namespace layoutdoc;

void LayoutUnit::WriteCsv(std::ostream& out) const
{
    fieldtable::WriteCsvRow(Fields(), *this, out, false);
    out << "\r\n";
    for (const auto& child : GetChildren())
        child->WriteCsv(out);
}

// The fields after the name, as the version of the document holds them. A field the file lacks by
// its version keeps its value (QuarterTurns becomes 0, the caption the name); a field missing
// because the file ends keeps its value too, and the result says the line was cut short.
bool LayoutUnit::ReadCsv(std::istream& in, const ReadContext& context)
{
    bool whole = true;
    fieldtable::ReadHeld(Fields().subspan(1), *this, context, 0.0, [&](auto& value) {
        if (!ReadPresentValue(in, value))
            whole = false;
    });
    itemWidth_ = width_;
    itemHeight_ = height_;
    ClearModified();
    return whole;
}
