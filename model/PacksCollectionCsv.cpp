// The pack template's rows: each starts with its own data version, then the mount and service
// types and the pack's columns, read positionally as that version carries them; whatever a line
// holds after them is skipped.
#include "model/PackVersions.h"
#include "model/PacksCollection.h"

#include "records/CsvFields.h"
#include "records/CsvNumbers.h"
#include "records/DataVersion.h"

#include <ostream>

namespace {

constexpr const char* lineEnd = "\r\n";

constexpr const char* header
    = "Pack Template,MountType,ServiceType,Description,Short "
      "Description,Price,NoPrintForm,NoPrintWeb,NoPandP,AddOn,NoQtyDiscount,ImageMixin,Type,Qty,M,MT,Type1,"
      "Qty1,M1,MT1,Type2,Qty2,M2,MT2,Type3,Qty3,M3,MT3,Type4,Qty4,M4,MT4,Type5,Qty5,M5,MT5,Type6,Qty6,M6,"
      "MT6,Type7,Qty7,M7,MT7,Type8,Qty8,M8,MT8,Type9,Qty9,M9,MT9";

bool IsEndMarker(const std::string& field)
{
    return field == "{EndPacks}" || field == "{EndReorderPacks}";
}

} // namespace

void PacksCollection::ReadTypes(CsvCursor& in, const ReadContext& context)
{
    using namespace packversions;
    for (const auto& field : PacksCollectionFieldTable) {
        if (context.Holds(field.since))
            fieldtable::ReadCsv(in, fields_, field);
        else
            fieldtable::SetDefault(fields_, field);
    }
    if (context.Holds(DroppedIntegerAfter) && context.dataVersion < DroppedIntegerBefore)
        in.Skip();
}

bool PacksCollection::ReadCsv(CsvCursor& in)
{
    in.SkipRestOfLine(); // the column names
    packs_.clear();
    std::string first;
    while (in.Text(first) && !IsEndMarker(first)) {
        // A blank line, or a row without its version, holds no pack.
        if (first.empty()) {
            in.SkipRestOfLine();
            continue;
        }
        StringToDouble(first, SavedDataVersion);
        const ReadContext context { SavedDataVersion };
        ReadTypes(in, context);
        auto pack = std::make_shared<PackDetails>();
        pack->ReadCsv(in, context);
        // Fields after the last slot (a trailing comma, say) belong to no later row.
        in.SkipRestOfLine();
        // Rows beyond the kept packs are still read: the last row decides the types.
        if (packs_.size() < maxPacks)
            packs_.push_back(std::move(pack));
    }
    ClearModified();
    return true;
}

void PacksCollection::WriteCsv(std::ostream& out) const
{
    out << header << lineEnd;
    for (const auto& pack : packs_) {
        WriteCsvDouble(out, CurrentDataVersion, false);
        fieldtable::WriteCsvRow(PacksCollectionFieldTable, fields_, out, true);
        pack->WriteCsv(out);
        out << lineEnd;
    }
}
