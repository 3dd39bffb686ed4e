// A product: construction, copies, its row of the catalogue file and its record forms, each a loop
// over the product's field table.
#include "model/ProductDetails.h"

#include "model/CatalogVersions.h"
#include "model/MountData.h"
#include "records/CsvNumbers.h"

#include <ostream>

namespace {

const auto& FieldsById()
{
    static const auto ordered = fieldtable::OrderedById(ProductFieldTable);
    return ordered;
}

} // namespace

ProductDetails::ProductDetails()
{
    fieldtable::SetDefaults(ProductFieldTable, fields_);
}

ProductDetails::ProductDetails(const ProductDetails& other)
    : Archivable(other)
    , DatabaseRecord(other)
{
    fieldtable::Copy(ProductFieldTable, other.fields_, fields_);
}

ProductDetails& ProductDetails::operator=(const ProductDetails& other)
{
    if (&other != this)
        fieldtable::Copy(ProductFieldTable, other.fields_, fields_);
    return *this;
}

void ProductDetails::SetFields(const ProductFields& fields)
{
    fieldtable::Copy(ProductFieldTable, fields, fields_);
    MarkAllFieldsModified();
}

bool ProductDetails::HasSpecialId() const
{
    const uint32_t id = fields_.ID;
    return id == 37 || id == 42 || id == 67 || id == 80;
}

void ProductDetails::SetOldSepPackScan(const ReadContext& context)
{
    if (context.Holds(catalogversions::product::SepPackScanSince))
        return;
    if (fields_.ID == 18 || fields_.ID == 19)
        fields_.SepPackScan = true;
}

bool ProductDetails::ReadCsv(CsvCursor& in, const ReadContext& context)
{
    if (!in.Stream().good())
        return false;
    // The long name comes first; an empty one ends the product list, and so does the heading of
    // the mounts section (where CR-only line ends have merged the empty line into the one before).
    if (!in.Text(fields_.Long) || fields_.Long.empty() || MountData::IsCsvHeading(fields_.Long))
        return false;
    for (const auto& field : ProductFieldTable) {
        if (field.position > 1 && context.Holds(field.since))
            fieldtable::ReadCsv(in, fields_, field);
    }
    // Fields after the last column (a trailing comma, say) belong to no later row.
    in.SkipRestOfLine();
    SetOldSepPackScan(context);
    ClearModified();
    return true;
}

void ProductDetails::WriteCsv(std::ostream& out) const
{
    fieldtable::WriteCsvRow(ProductFieldTable, fields_, out, false);
}

std::string ProductDetails::Describe() const
{
    return "ProductDetails: " + FormatUnsigned(GetId()) + ": " + fields_.Medium;
}

void ProductDetails::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void ProductDetails::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(
        ProductFieldTable, *this, fields_, pendingOnly, out, fieldCount, writeTerminator);
}

uint8_t ProductDetails::ReadFields(std::istream& in)
{
    // The operation byte is read and not looked at: a product only ever takes field updates.
    const uint8_t operation = ReadDispatchOperation(in);
    ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
        return fieldtable::ReadMessageValue(ProductFieldTable, *this, fields_, in, fieldId);
    });
    return operation;
}

DatabaseRecord* ProductDetails::Clone(DatabaseRecord& target) const
{
    auto* product = dynamic_cast<ProductDetails*>(&target);
    if (product)
        *product = *this;
    return product;
}

std::unique_ptr<DatabaseRecord> ProductDetails::Clone() const
{
    auto product = std::make_unique<ProductDetails>();
    Clone(*product);
    return product;
}

void ProductDetails::Store(win::Archive& archive) const
{
    archive << GetId();
    for (const ProductField* field : FieldsById()) {
        if (field->archiveSince != catalogversions::never)
            fieldtable::Store(archive, fields_, *field);
    }
}

void ProductDetails::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void ProductDetails::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    for (const ProductField* field : FieldsById()) {
        if (context.Holds(field->archiveSince))
            fieldtable::Load(archive, fields_, *field);
    }
    SetOldSepPackScan(context);
    ClearModified();
}
