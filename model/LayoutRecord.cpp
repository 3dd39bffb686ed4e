// Record message, clone, traversal and archive forms of a layout.
#include "model/Layout.h"

#include "records/ArchiveStrings.h"
#include "records/CsvNumbers.h"
#include "records/DataVersion.h"
#include "records/DispatchRaw.h"

std::string Layout::Describe() const
{
    return "Layout: " + FormatUnsigned(GetId());
}

void Layout::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void Layout::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    WriteDispatchInt(pendingOnly, out, layoutType_, fieldLayoutType);
    WriteDispatchString(pendingOnly, out, backgroundImage_, fieldBackgroundImage);
    WriteDispatchBool(pendingOnly, out, backgroundPOD_, fieldBackgroundPOD);
    WriteDispatchBool(pendingOnly, out, printMainImage_, fieldPrintMainImage);
    WriteDispatchBool(pendingOnly, out, overprintCopyright_, fieldOverprintCopyright);
    WriteDispatchString(pendingOnly, out, overprintWord_, fieldOverprintWord);
    WriteDispatchString(pendingOnly, out, overprintColour_, fieldOverprintColour);
    WriteDispatchBool(pendingOnly, out, overprintDiagonal_, fieldOverprintDiagonal);
    WriteDispatchUnsigned(pendingOnly, out, overprintDiagWidth_, fieldOverprintDiagWidth);
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

bool Layout::ReadFieldValue(std::istream& in, uint16_t fieldId)
{
    // LayoutType is stored as it arrives, without rebuilding the tree.
    switch (fieldId) {
    case fieldLayoutType:
        ReadDispatchInt(in, layoutType_);
        return true;
    case fieldBackgroundImage:
        ReadDispatchString(in, backgroundImage_);
        return true;
    case fieldBackgroundPOD:
        ReadDispatchBool(in, backgroundPOD_);
        return true;
    case fieldPrintMainImage:
        ReadDispatchBool(in, printMainImage_);
        return true;
    case fieldOverprintCopyright:
        ReadDispatchBool(in, overprintCopyright_);
        return true;
    case fieldOverprintWord:
        ReadDispatchString(in, overprintWord_);
        return true;
    case fieldOverprintColour:
        ReadDispatchString(in, overprintColour_);
        return true;
    case fieldOverprintDiagonal:
        ReadDispatchBool(in, overprintDiagonal_);
        return true;
    case fieldOverprintDiagWidth:
        ReadDispatchUnsigned(in, overprintDiagWidth_);
        return true;
    default:
        return false;
    }
}

uint8_t Layout::ReadFields(std::istream& in)
{
    const uint8_t operation = ReadDispatchOperation(in);
    switch (static_cast<DispatchOp>(operation)) {
    case DispatchOp::addChild: {
        // The root and the paper take their embedded messages; nothing is created or replaced.
        const ChildAddress child = ReadChildAddress(in);
        if (static_cast<RecordType>(child.type) == RecordType::ctLayoutUnit)
            root_->ReadAsChild(child.id, in);
        else if (static_cast<RecordType>(child.type) == RecordType::ctPaperSpecs)
            paper_.ReadAsChild(child.id, in);
        else
            ThrowUnknownChildType(child.type);
        break;
    }
    case DispatchOp::removeChild:
        // The layout has no children to remove; the message is read whole all the same.
        ReadChildAddress(in);
        break;
    case DispatchOp::fieldUpdates:
        ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) { return ReadFieldValue(in, fieldId); });
        break;
    default:
        break;
    }
    return operation;
}

DatabaseRecord* Layout::Clone(DatabaseRecord& target) const
{
    auto* layout = dynamic_cast<Layout*>(&target);
    if (!layout)
        return nullptr;
    // The type is copied without rebuilding the target's tree; units, paper and Loaded stay.
    layout->layoutType_ = layoutType_;
    layout->backgroundImage_ = backgroundImage_;
    layout->backgroundPOD_ = backgroundPOD_;
    layout->printMainImage_ = printMainImage_;
    layout->overprintCopyright_ = overprintCopyright_;
    layout->overprintWord_ = overprintWord_;
    layout->overprintColour_ = overprintColour_;
    layout->overprintDiagonal_ = overprintDiagonal_;
    layout->overprintDiagWidth_ = overprintDiagWidth_;
    return layout;
}

std::unique_ptr<DatabaseRecord> Layout::Clone() const
{
    auto layout = std::make_unique<Layout>();
    Clone(*layout);
    return layout;
}

bool Layout::Traverse(TraverseAction& action)
{
    action.Apply(*this);
    return false;
}

void Layout::Store(win::Archive& archive) const
{
    archive << GetId() << layoutType_;
    paper_.Store(archive);
    WriteArchiveStdString(archive, backgroundImage_);
    archive << backgroundPOD_ << printMainImage_ << overprintCopyright_;
    WriteArchiveStdString(archive, overprintWord_);
    WriteArchiveStdString(archive, overprintColour_);
    archive << overprintDiagonal_ << overprintDiagWidth_ << static_cast<int32_t>(root_->CountUnits());
    root_->Store(archive);
    archive << loaded_;
}

void Layout::Load(win::Archive& archive)
{
    LoadArchiveId(archive);
    int32_t layoutType = 0;
    archive >> layoutType;
    SetLayoutType(layoutType);
    paper_.Load(archive);
    ReadArchiveStdString(archive, backgroundImage_);
    archive >> backgroundPOD_ >> printMainImage_ >> overprintCopyright_;
    ReadArchiveStdString(archive, overprintWord_);
    ReadArchiveStdString(archive, overprintColour_);
    archive >> overprintDiagonal_ >> overprintDiagWidth_;
    // Units are matched by name; a name the layout lacks is read into a scratch unit and dropped.
    // Every unit read takes bytes, so a false count ends with the archive's end-of-data error.
    uint32_t unitCount = 0;
    archive >> unitCount;
    LayoutUnit scratch(nullptr);
    for (uint32_t i = 0; i < unitCount; ++i) {
        std::string name;
        ReadArchiveStdString(archive, name);
        LayoutUnit* unit = root_->FindByName(name);
        if (!unit) {
            unit = &scratch;
            scratch.SetName(name);
        }
        unit->Load(archive);
    }
    archive >> loaded_;
    if (SavedDataVersion < 2.062)
        HideLateExtraTexts();
    ClearModified();
}
