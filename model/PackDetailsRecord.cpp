// Record message, clone and archive forms of a pack.
#include "model/PackDetails.h"
#include "model/PackVersions.h"

#include "model/TypedLists.h"
#include "records/CsvNumbers.h"
#include "records/DispatchRaw.h"

namespace {

// The archive holds the long description, the price, the short description, then the flags.
constexpr uint16_t archiveOrder[] = { 1, 3, 2, 4, 5, 6, 7, 8, 9 };

// The fewest bytes an entry and a pack take on an archive.
constexpr std::size_t minimumArchivedEntry = 8;

const PackField& FieldOf(uint16_t id)
{
    return *fieldtable::FindById(PackFieldTable, id);
}

} // namespace

std::string PackDetails::Describe() const
{
    return "PackDetails: " + FormatUnsigned(GetId()) + ": " + fields_.LongDescription;
}

void PackDetails::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void PackDetails::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    if (BeginDispatchField(pendingOnly, out, fieldProducts)) {
        WriteDispatchRaw32(out, static_cast<uint32_t>(products_.size()));
        for (const PackProduct& entry : products_)
            entry.WriteDispatch(out);
    }
    fieldtable::WriteMessage(PackFieldTable, *this, fields_, pendingOnly, out, fieldCount, writeTerminator);
}

void PackDetails::ReadDispatchProducts(std::istream& in)
{
    // Entry by entry: each read throws when the bytes run out, so a false count allocates nothing
    // ahead of the bytes there.
    uint32_t count = 0;
    ReadDispatchUnsigned(in, count);
    products_.clear();
    for (uint32_t i = 0; i < count; ++i)
        products_.emplace_back().ReadDispatch(*this, in);
}

uint8_t PackDetails::ReadFields(std::istream& in)
{
    // The operation byte is read and not looked at: a pack only ever takes field updates.
    const uint8_t operation = ReadDispatchOperation(in);
    ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
        if (fieldId == fieldProducts) {
            ReadDispatchProducts(in);
            return true;
        }
        return fieldtable::ReadMessageValue(PackFieldTable, *this, fields_, in, fieldId);
    });
    ClearModified();
    return operation;
}

DatabaseRecord* PackDetails::Clone(DatabaseRecord& target) const
{
    auto* pack = dynamic_cast<PackDetails*>(&target);
    if (pack && pack != this) {
        pack->products_ = products_;
        fieldtable::Copy(PackFieldTable, fields_, pack->fields_);
    }
    return pack;
}

std::unique_ptr<DatabaseRecord> PackDetails::Clone() const
{
    auto pack = std::make_unique<PackDetails>();
    Clone(*pack);
    return pack;
}

void PackDetails::Store(win::Archive& archive) const
{
    archive << GetId();
    for (const uint16_t id : archiveOrder)
        fieldtable::Store(archive, fields_, FieldOf(id));
    archive << static_cast<uint32_t>(products_.size());
    for (const PackProduct& entry : products_)
        entry.Store(archive);
}

void PackDetails::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void PackDetails::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    for (const uint16_t id : archiveOrder) {
        const PackField& field = FieldOf(id);
        if (context.Holds(field.archiveSince))
            fieldtable::Load(archive, fields_, field);
    }
    // Archives older than these fields: the short description is the long one, and the web
    // flag follows the form flag.
    if (!context.Holds(packversions::archive::ShortDescriptionSince))
        fields_.ShortDescription = fields_.LongDescription;
    if (!context.Holds(packversions::NoPrintWebSince))
        fields_.NoPrintWeb = fields_.NoPrintForm;
    LoadProducts(archive, context);
    ClearModified();
}

void PackDetails::LoadProducts(win::Archive& archive, const ReadContext& context)
{
    const uint32_t count = ReadArchiveCount(archive, minimumArchivedEntry);
    const bool unmounted = HasNoMountMarker();
    products_.clear();
    for (uint32_t i = 0; i < count; ++i)
        products_.emplace_back().Load(archive, context, unmounted);
}
