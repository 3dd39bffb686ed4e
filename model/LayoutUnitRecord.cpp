// Record message, clone, traversal and archive forms of a layout unit.
#include "model/LayoutUnit.h"

#include "records/ArchiveStrings.h"
#include "records/CsvNumbers.h"
#include "records/DataVersion.h"
#include "records/DispatchRaw.h"

#include <algorithm>

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
    WriteDispatchString(pendingOnly, out, name_, fieldName);
    WriteDispatchString(pendingOnly, out, caption_, fieldCaption);
    WriteDispatchPoint(pendingOnly, out, win::POINT { x_, y_ }, fieldPosition);
    WriteDispatchPoint(pendingOnly, out, win::SIZE { width_, height_ }, fieldSize);
    WriteDispatchUnsigned(pendingOnly, out, repeatCount_, fieldRepeatCount);
    WriteDispatchPoint(pendingOnly, out, win::POINT { stepX_, stepY_ }, fieldStep);
    WriteDispatchBool(pendingOnly, out, visible_, fieldVisible);
    WriteDispatchInt(pendingOnly, out, alignment_, fieldAlignment);
    WriteDispatchBool(pendingOnly, out, imageFlag_, fieldImageFlag);
    WriteDispatchInt(pendingOnly, out, quarterTurns_, fieldQuarterTurns);
    WriteDispatchUnsigned(pendingOnly, out, fontSize_, fieldFontSize);
    WriteDispatchBool(pendingOnly, out, singleOnly_, fieldSingleOnly);
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

bool LayoutUnit::ReadFieldValue(std::istream& in, uint16_t fieldId)
{
    win::POINT point;
    win::SIZE size;
    switch (fieldId) {
    case fieldName:
        ReadDispatchString(in, name_);
        return true;
    case fieldCaption:
        ReadDispatchString(in, caption_);
        return true;
    case fieldPosition:
        ReadDispatchPoint(in, point);
        x_ = point.x;
        y_ = point.y;
        return true;
    case fieldSize:
        // Width and Height only; the item size follows from drawing and fitting.
        ReadDispatchPoint(in, size);
        width_ = size.cx;
        height_ = size.cy;
        return true;
    case fieldRepeatCount:
        ReadDispatchUnsigned(in, repeatCount_);
        return true;
    case fieldStep:
        ReadDispatchPoint(in, point);
        stepX_ = point.x;
        stepY_ = point.y;
        return true;
    case fieldVisible:
        ReadDispatchBool(in, visible_);
        return true;
    case fieldAlignment:
        ReadDispatchInt(in, alignment_);
        return true;
    case fieldImageFlag:
        ReadDispatchBool(in, imageFlag_);
        return true;
    case fieldQuarterTurns:
        ReadDispatchInt(in, quarterTurns_);
        return true;
    case fieldFontSize:
        ReadDispatchUnsigned(in, fontSize_);
        return true;
    case fieldSingleOnly:
        ReadDispatchBool(in, singleOnly_);
        return true;
    default:
        return false;
    }
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
    auto child = std::make_shared<LayoutUnit>(this);
    Add(child);
    try {
        child->ReadAsChild(id, in);
    } catch (...) {
        // A child whose message could not be read whole is not added.
        const auto& children = GetElements();
        const auto it = std::find(children.begin(), children.end(), child);
        if (it != children.end())
            RemoveAt(static_cast<std::size_t>(it - children.begin()));
        throw;
    }
}

void LayoutUnit::RemoveChildById(uint32_t id)
{
    const auto& children = GetElements();
    const auto it = std::find_if(
        children.begin(), children.end(), [id](const auto& child) { return child->GetId() == id; });
    if (it == children.end())
        return;
    (*it)->OnDispatchRemoved();
    RemoveAt(static_cast<std::size_t>(it - children.begin()));
}

DatabaseRecord* LayoutUnit::Clone(DatabaseRecord& target) const
{
    auto* unit = dynamic_cast<LayoutUnit*>(&target);
    if (!unit)
        return nullptr;
    unit->name_ = name_;
    unit->caption_ = caption_;
    unit->x_ = x_;
    unit->y_ = y_;
    unit->width_ = width_;
    unit->height_ = height_;
    unit->repeatCount_ = repeatCount_;
    unit->stepX_ = stepX_;
    unit->stepY_ = stepY_;
    unit->visible_ = visible_;
    unit->alignment_ = alignment_;
    unit->imageFlag_ = imageFlag_;
    unit->quarterTurns_ = quarterTurns_;
    unit->fontSize_ = fontSize_;
    unit->singleOnly_ = singleOnly_;
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
    WriteArchiveStdString(archive, name_);
    WriteArchiveStdString(archive, caption_);
    archive << GetId() << x_ << y_ << width_ << height_ << repeatCount_ << stepX_ << stepY_ << singleOnly_
            << visible_ << alignment_ << imageFlag_ << quarterTurns_ << fontSize_;
    for (const auto& child : GetElements())
        child->Store(archive);
}

void LayoutUnit::Load(win::Archive& archive)
{
    if (SavedDataVersion > 2.062)
        ReadArchiveStdString(archive, caption_);
    else
        caption_ = name_;
    LoadArchiveId(archive);
    archive >> x_ >> y_ >> width_ >> height_;
    itemWidth_ = width_;
    itemHeight_ = height_;
    archive >> repeatCount_ >> stepX_ >> stepY_;
    if (SavedDataVersion > 2.0431)
        archive >> singleOnly_;
    archive >> visible_ >> alignment_ >> imageFlag_ >> quarterTurns_ >> fontSize_;
    ClearModified();
}
