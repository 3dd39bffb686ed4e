// Record message, clone, traversal and archive forms of a layout unit.
#include "model/LayoutUnit.h"

#include "model/DispatchedChildren.h"
#include "model/LayoutDocumentVersions.h"
#include "records/CsvNumbers.h"

std::string LayoutUnit::Describe() const
{
    return "LayoutUnit: " + FormatUnsigned(GetId()) + ": " + GetPath();
}

void LayoutUnit::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void LayoutUnit::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(Fields(), *this, *this, pendingOnly, out, fieldCount, writeTerminator);
}

bool LayoutUnit::ReadFieldValue(std::istream& in, uint16_t fieldId)
{
    // The size field sets Width and Height only; the item size follows from drawing and fitting.
    return fieldtable::ReadMessageValue(Fields(), *this, *this, in, fieldId);
}

uint8_t LayoutUnit::ReadFields(std::istream& in)
{
    const uint8_t operation = ReadDispatchOperation(in);
    switch (static_cast<DispatchOp>(operation)) {
    case DispatchOp::addChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (static_cast<RecordType>(child.type) != RecordType::ctLayoutUnit)
            ThrowUnknownChildType(child.type);
        ReadChildRecord(child.id, in);
        break;
    }
    case DispatchOp::removeChild: {
        const ChildAddress child = ReadChildAddress(in);
        if (static_cast<RecordType>(child.type) == RecordType::ctLayoutUnit)
            RemoveChildById(child.id);
        break;
    }
    case DispatchOp::fieldUpdates:
        ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) { return ReadFieldValue(in, fieldId); });
        break;
    default:
        break;
    }
    return operation;
}

int LayoutUnit::GetDepth() const
{
    int depth = 0;
    for (const LayoutUnit* unit = parent_; unit; unit = unit->parent_)
        ++depth;
    return depth;
}

void LayoutUnit::ReadChildRecord(uint32_t id, std::istream& in)
{
    if (GetDepth() + 1 > maxMessageDepth)
        throw DispatchReadError("Record message nests units too deeply: " + Describe());
    ReadDispatchedChild(elements_, std::make_shared<LayoutUnit>(this), id, in);
}

void LayoutUnit::RemoveChildById(uint32_t id)
{
    RemoveDispatchedChild(elements_, id);
}

DatabaseRecord* LayoutUnit::Clone(DatabaseRecord& target) const
{
    auto* unit = dynamic_cast<LayoutUnit*>(&target);
    if (!unit)
        return nullptr;
    fieldtable::Copy(Fields(), *this, *unit);
    return unit;
}

std::unique_ptr<DatabaseRecord> LayoutUnit::Clone() const
{
    auto unit = std::make_unique<LayoutUnit>(parent_);
    Clone(*unit);
    return unit;
}

bool LayoutUnit::Traverse(TraverseAction& action)
{
    action.Apply(*this);
    return false;
}

void LayoutUnit::Store(win::Archive& archive) const
{
    // Name and Caption, the id, then the other fields; then each child in the same form.
    const FieldTable<LayoutUnit> rows = Fields();
    fieldtable::Store(rows.first(2), *this, archive);
    archive << GetId();
    fieldtable::Store(rows.subspan(2), *this, archive);
    for (const auto& child : GetElements())
        child->Store(archive);
}

void LayoutUnit::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void LayoutUnit::Load(win::Archive& archive, const ReadContext& context)
{
    const FieldTable<LayoutUnit> rows = Fields();
    fieldtable::Load(rows.subspan(1, 1), *this, archive, context, layoutdoc::ArchiveFormsSince);
    LoadArchiveId(archive, context);
    fieldtable::Load(rows.subspan(2), *this, archive, context, layoutdoc::ArchiveFormsSince);
    itemWidth_ = width_;
    itemHeight_ = height_;
    ClearModified();
}
