// Record message, clone, traversal and archive forms of the pack collection.
#include "model/PackVersions.h"
#include "model/PacksCollection.h"

#include "model/DispatchedChildren.h"
#include "model/TypedLists.h"
#include "records/CsvNumbers.h"

namespace {
// The fewest bytes a pack takes on an archive: an empty long description, the price and the
// entry count.
constexpr std::size_t minimumArchivedPack = 9;
} // namespace

std::string PacksCollection::Describe() const
{
    return "PacksCollection: " + FormatUnsigned(GetId());
}

void PacksCollection::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void PacksCollection::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(
        PacksCollectionFieldTable, *this, fields_, pendingOnly, out, fieldCount, writeTerminator);
}

uint8_t PacksCollection::ReadFields(std::istream& in)
{
    const uint8_t operation = ReadDispatchOperation(in);
    switch (static_cast<DispatchOp>(operation)) {
    case DispatchOp::addChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type != static_cast<uint8_t>(RecordType::ctPackDetails))
            ThrowUnknownChildType(child.type);
        ReadDispatchedChild(packs_, std::make_shared<PackDetails>(), child.id, in);
        break;
    }
    case DispatchOp::removeChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type != static_cast<uint8_t>(RecordType::ctPackDetails))
            break;
        RemoveDispatchedChild(packs_, child.id);
        break;
    }
    case DispatchOp::fieldUpdates:
        ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
            return fieldtable::ReadMessageValue(PacksCollectionFieldTable, *this, fields_, in, fieldId);
        });
        break;
    }
    return operation;
}

DatabaseRecord* PacksCollection::Clone(DatabaseRecord& target) const
{
    auto* collection = dynamic_cast<PacksCollection*>(&target);
    if (collection)
        fieldtable::Copy(PacksCollectionFieldTable, fields_, collection->fields_);
    return collection;
}

std::unique_ptr<DatabaseRecord> PacksCollection::Clone() const
{
    auto collection = std::make_unique<PacksCollection>();
    Clone(*collection);
    return collection;
}

bool PacksCollection::Traverse(TraverseAction& action)
{
    action.Apply(*this);
    return false;
}

void PacksCollection::Store(win::Archive& archive) const
{
    archive << GetId();
    fieldtable::Store(PacksCollectionFieldTable, fields_, archive);
    archive << static_cast<uint32_t>(packs_.size());
    for (const auto& pack : packs_)
        pack->Store(archive);
}

void PacksCollection::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void PacksCollection::Load(win::Archive& archive, const ReadContext& context)
{
    using namespace packversions;
    LoadArchiveId(archive, context);
    for (const auto& field : PacksCollectionFieldTable) {
        if (context.Holds(field.archiveSince))
            fieldtable::Load(archive, fields_, field);
        else
            fieldtable::SetDefault(fields_, field);
    }
    if (context.Holds(DroppedIntegerAfter) && context.dataVersion < DroppedIntegerBefore) {
        uint32_t dropped = 0;
        archive >> dropped;
    }
    const uint32_t count = ReadArchiveCount(archive, minimumArchivedPack);
    packs_.clear();
    // Every pack is read, so that the archive stays in step; only the first ones are kept.
    for (uint32_t i = 0; i < count; ++i) {
        auto pack = std::make_shared<PackDetails>();
        pack->Load(archive, context);
        if (packs_.size() < maxPacks)
            packs_.push_back(std::move(pack));
    }
    ClearModified();
}
