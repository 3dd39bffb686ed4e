// A pack's part of a pack template row: columns 4 on, positionally, as the row's version
// carries them.
#include "model/PackDetails.h"
#include "model/PackVersions.h"

#include <ostream>

bool PackDetails::ReadCsv(CsvCursor& in, const ReadContext& context)
{
    using namespace packversions;
    for (const auto& field : PackFieldTable) {
        if (context.Holds(field.since))
            fieldtable::ReadCsv(in, fields_, field);
    }
    if (!context.Holds(NoPrintWebSince))
        fields_.NoPrintWeb = fields_.NoPrintForm;
    const bool unmounted = context.dataVersion < file::NoMountMarkerBefore && HasNoMountMarker();
    const std::size_t slots = context.dataVersion >= file::TenSlotsFrom ? templateSlots : 8;
    products_.clear();
    products_.reserve(slots);
    for (std::size_t slot = 0; slot < slots; ++slot) {
        PackProduct entry;
        if (!entry.ReadCsv(in, context))
            continue;
        if (unmounted)
            entry.MT = false;
        products_.push_back(entry);
    }
    ClearModified();
    return true;
}

void PackDetails::WriteCsv(std::ostream& out) const
{
    fieldtable::WriteCsvRow(PackFieldTable, fields_, out, true);
    for (std::size_t slot = 0; slot < templateSlots; ++slot) {
        if (slot < products_.size())
            products_[slot].WriteCsv(out);
        else
            out << ",,,,";
    }
}
