#include "model/LayoutUnit.h"

#include <utility>

LayoutUnit::LayoutUnit(LayoutUnit* parent)
    : parent_(parent)
{
}

LayoutUnit::~LayoutUnit() = default;

std::shared_ptr<LayoutUnit> LayoutUnit::AddChild(const std::string& name)
{
    auto child = std::make_shared<LayoutUnit>(this);
    child->SetName(name);
    Add(child);
    NotifyChange(0, RecordType::ctLayoutUnit, static_cast<int>(GetId()));
    return child;
}

LayoutUnit* LayoutUnit::FindByName(const std::string& name)
{
    return const_cast<LayoutUnit*>(std::as_const(*this).FindByName(name));
}

const LayoutUnit* LayoutUnit::FindByName(const std::string& name) const
{
    if (name_ == name)
        return this;
    for (const auto& child : GetElements()) {
        if (const LayoutUnit* found = child->FindByName(name))
            return found;
    }
    return nullptr;
}

LayoutUnit* LayoutUnit::FindByPath(const std::string& path)
{
    if (GetPath() == path)
        return this;
    for (const auto& child : GetElements()) {
        if (LayoutUnit* found = child->FindByPath(path))
            return found;
    }
    return nullptr;
}

std::string LayoutUnit::GetPath() const
{
    return (parent_ ? parent_->GetPath() : std::string()) + "." + name_;
}

int LayoutUnit::CountUnits() const
{
    int count = 1;
    for (const auto& child : GetElements())
        count += child->CountUnits();
    return count;
}

bool LayoutUnit::HoldsInSubtree(const LayoutUnit* unit) const
{
    if (unit == this)
        return true;
    for (const auto& child : GetElements()) {
        if (child->HoldsInSubtree(unit))
            return true;
    }
    return false;
}

void LayoutUnit::CopyFrom(const LayoutUnit& source)
{
    if (&source == this)
        return;
    // Copy through a detached snapshot: the source may be an ancestor (whose subtree holds this
    // unit) or may live among the children about to be released.
    LayoutUnit snapshot(nullptr);
    snapshot.CopyFieldsAndChildren(source);
    // A parent inside this unit's own subtree would make the unit its own ancestor, so the unit
    // then keeps its place in the tree.
    LayoutUnit* const newParent = HoldsInSubtree(source.parent_) ? parent_ : source.parent_;
    CopyFieldsAndChildren(snapshot);
    parent_ = newParent;
}

void LayoutUnit::CopyFieldsAndChildren(const LayoutUnit& source)
{
    parent_ = source.parent_;
    fieldtable::Copy(Fields(), source, *this);
    itemWidth_ = source.itemWidth_;
    itemHeight_ = source.itemHeight_;
    currentItem_ = source.currentItem_;

    RemoveAll();
    for (const auto& child : source.GetElements()) {
        auto copy = std::make_shared<LayoutUnit>(this);
        copy->CopyFieldsAndChildren(*child);
        copy->parent_ = this;
        Add(std::move(copy));
    }
}

void LayoutUnit::SetName(const std::string& name)
{
    name_ = name;
    SetFieldModified(fieldName);
    if (caption_.empty())
        SetCaption(name);
}

void LayoutUnit::SetCaption(const std::string& caption)
{
    caption_ = caption;
    SetFieldModified(fieldCaption);
}

void LayoutUnit::SetPosition(win::POINT position)
{
    x_ = position.x;
    y_ = position.y;
    SetFieldModified(fieldPosition);
}

void LayoutUnit::SetX(int32_t x)
{
    SetPosition({ x, y_ });
}

void LayoutUnit::SetY(int32_t y)
{
    SetPosition({ x_, y });
}

void LayoutUnit::SetSize(win::SIZE size)
{
    SetWidthHeight(size);
    SetItemSize(size);
}

void LayoutUnit::SetWidthHeight(win::SIZE size)
{
    width_ = size.cx;
    height_ = size.cy;
    SetFieldModified(fieldSize);
}

void LayoutUnit::SetItemSize(win::SIZE size)
{
    itemWidth_ = size.cx;
    itemHeight_ = size.cy;
}

void LayoutUnit::SetRepeatCount(uint32_t count)
{
    repeatCount_ = count;
    SetFieldModified(fieldRepeatCount);
}

void LayoutUnit::SetStep(win::POINT step)
{
    stepX_ = step.x;
    stepY_ = step.y;
    SetFieldModified(fieldStep);
}

void LayoutUnit::SetVisible(bool visible)
{
    visible_ = visible;
    SetFieldModified(fieldVisible);
}

void LayoutUnit::SetAlignment(int32_t alignment)
{
    alignment_ = alignment;
    SetFieldModified(fieldAlignment);
}

void LayoutUnit::SetImageFlag(bool flag)
{
    imageFlag_ = flag;
    SetFieldModified(fieldImageFlag);
}

void LayoutUnit::SetQuarterTurns(int32_t turns)
{
    quarterTurns_ = turns;
    SetFieldModified(fieldQuarterTurns);
}

void LayoutUnit::SetFontSize(uint32_t size)
{
    fontSize_ = size;
    SetFieldModified(fieldFontSize);
}

void LayoutUnit::SetSingleOnly(bool singleOnly)
{
    singleOnly_ = singleOnly;
    SetFieldModified(fieldSingleOnly);
}
