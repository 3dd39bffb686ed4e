// The product catalogue file, ProductCatalog.csv:
//
//   line 1   version, "ProductCatalog", the name, then key and value pairs of the settings
//            (those the version carries), then an empty field
//   line 2   a header, skipped
//   rows     one product per row, the columns its version carries; a row whose first field is
//            empty, or is the mounts heading, ends the list
//   rest     the mounts section, from the line holding "Mount Type"
//
// Fields are read positionally; after line 1 and after each product row the rest of the line is
// skipped, unless the last field read already ended it.
#include "model/ProductCatalog.h"

#include "model/CsvCursor.h"
#include "records/CsvFields.h"
#include "records/DataVersion.h"

#include <ostream>

namespace {

constexpr const char* lineEnd = "\r\n";

// The header line as the catalogue has always written it: it names 49 of the 54 columns, so the
// names after the third do not line up with the columns.
constexpr const char* productHeader
    = "Long,Medium,Short,Discontinued,ID,Order,Full,Data,Return,Inches,Group,Special,Large,Small,Browse,"
      "Double,Print,PostSep,PostPr,PackFlag,SepPackScan,Mounts,MountsPossible,MntSize,PortCaptions,"
      "LandCaptions,PortCapSep,LandCapSep,Discnt,IncDis,Compos,HotF,S Alone,PrintChannel,"
      "DoublePrintChannel,LCapPrintChannel,PCapPrintChannel,Width,Height,PrintMethod,SpecPrintMethod,"
      "SplitMono,NoristuHF,CanDoMono,PricePercent,needsAddress,PrintLabelOnScan,NonSAProductID,"
      "NumMultiImages";

bool HasKey(const CatalogSetting& setting)
{
    return !setting.label.empty();
}

} // namespace

bool ProductCatalog::ReadCsv(std::istream& in)
{
    return ReadCsv(in, ReadContext::OfLastFileRead());
}

bool ProductCatalog::ReadCsv(std::istream& in, const ReadContext& context)
{
    bool mountsFound = false;
    return ReadCsv(in, context, mountsFound);
}

bool ProductCatalog::ReadCsv(std::istream& in, const ReadContext& context, bool& mountsFound)
{
    mountsFound = false;
    if (!in.good())
        return false;
    CsvCursor cursor(in);
    for (const auto& setting : CatalogSettingsTable) {
        if (!context.Holds(setting.since))
            continue;
        if (HasKey(setting))
            cursor.Skip(); // keys are known by their place, never compared
        fieldtable::ReadCsv(cursor, settings_, setting);
    }
    cursor.SkipRestOfLine();
    cursor.SkipLine(); // the header
    RemoveAll();
    for (;;) {
        auto product = std::make_shared<ProductDetails>();
        if (!product->ReadCsv(cursor, context)) {
            mountsFound = mounts_.ReadCsvSection(cursor, MountData::IsCsvHeading(product->GetLong()));
            break;
        }
        AddProduct(std::move(product));
    }
    MergeFromGlobal();
    ClearModified();
    return true;
}

void ProductCatalog::WriteCsv(std::ostream& out) const
{
    WriteCsvDouble(out, CurrentDataVersion, false);
    WriteCsvString(out, "ProductCatalog", true);
    for (const auto& setting : CatalogSettingsTable) {
        if (HasKey(setting))
            WriteCsvString(out, std::string(setting.label), true);
        fieldtable::WriteCsv(out, settings_, setting, true);
    }
    WriteCsvString(out, "", true);
    out << lineEnd << productHeader << lineEnd;
    for (const auto& [id, product] : GetElements()) {
        product->WriteCsv(out);
        out << lineEnd;
    }
    out << lineEnd;
    mounts_.WriteCsv(out);
}

void ProductCatalog::WriteProductListCsv(std::ostream& out) const
{
    out << "ProductID,LongName,MediumName,ShortName" << lineEnd;
    for (const auto& [id, product] : GetElements()) {
        WriteCsvUnsigned(out, product->GetID(), false);
        WriteCsvString(out, product->GetLong(), true);
        WriteCsvString(out, product->GetMedium(), true);
        WriteCsvString(out, product->GetShort(), true);
        out << lineEnd;
    }
}
