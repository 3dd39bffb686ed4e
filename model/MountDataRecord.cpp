// Record message, clone, traversal and archive forms of the mount price table.
#include "model/MountData.h"

#include "model/DispatchedChildren.h"
#include "records/CsvNumbers.h"
#include "records/DispatchRaw.h"

namespace {
// The fewest bytes a size takes on an archive: a price count, an empty name and a code count.
constexpr std::size_t minimumArchivedSize = 9;
} // namespace

std::string MountData::Describe() const
{
    return "MountData: " + FormatUnsigned(GetId());
}

void MountData::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void MountData::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    WriteDispatchStringList(*this, pendingOnly, out, descriptions_, fieldDescriptions);
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

uint8_t MountData::ReadFields(std::istream& in)
{
    const uint8_t operation = ReadDispatchOperation(in);
    switch (static_cast<DispatchOp>(operation)) {
    case DispatchOp::addChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type != static_cast<uint8_t>(RecordType::ctMountSizeData))
            ThrowUnknownChildType(child.type);
        ReadDispatchedChild(sizes_, std::make_shared<MountSizeData>(), child.id, in);
        break;
    }
    case DispatchOp::removeChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (child.type != static_cast<uint8_t>(RecordType::ctMountSizeData))
            break;
        RemoveDispatchedChild(sizes_, child.id);
        break;
    }
    case DispatchOp::fieldUpdates:
        ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
            if (fieldId != fieldDescriptions)
                return false;
            ReadDispatchStringList(*this, in, descriptions_);
            return true;
        });
        break;
    }
    return operation;
}

DatabaseRecord* MountData::Clone(DatabaseRecord& target) const
{
    auto* table = dynamic_cast<MountData*>(&target);
    if (table && table != this)
        table->descriptions_ = descriptions_;
    return table;
}

std::unique_ptr<DatabaseRecord> MountData::Clone() const
{
    auto table = std::make_unique<MountData>();
    Clone(*table);
    return table;
}

bool MountData::Traverse(TraverseAction& action)
{
    action.Apply(*this);
    return false;
}

void MountData::Store(win::Archive& archive) const
{
    archive << GetId() << static_cast<uint32_t>(sizes_.size());
    for (const auto& size : sizes_)
        size->Store(archive);
    WriteArchiveStringList(archive, descriptions_);
}

void MountData::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void MountData::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    sizes_.clear();
    const uint32_t count = ReadArchiveCount(archive, minimumArchivedSize);
    for (uint32_t i = 0; i < count; ++i) {
        auto size = std::make_shared<MountSizeData>();
        size->Load(archive, context);
        sizes_.push_back(std::move(size));
    }
    ReadArchiveStringList(archive, descriptions_);
    ClearModified();
}
