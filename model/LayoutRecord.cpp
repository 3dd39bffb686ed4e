// Record message, clone, traversal and archive forms of a layout.
#include "model/Layout.h"

#include "model/LayoutDocumentVersions.h"
#include "records/ArchiveStrings.h"
#include "records/CsvNumbers.h"

#include <array>

using namespace layoutdoc;

std::string Layout::Describe() const
{
    return "Layout: " + FormatUnsigned(GetId());
}

void Layout::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

FieldTable<Layout> Layout::Fields()
{
    using L = Layout;
    static const std::array<FieldRow<L>, 9> rows = { {
        { fieldLayoutType, "LayoutType", &L::layoutType_ },
        { fieldBackgroundImage, "BackgroundImage", &L::backgroundImage_ },
        { fieldBackgroundPOD, "BackgroundPOD", &L::backgroundPOD_ },
        { fieldPrintMainImage, "PrintMainImage", &L::printMainImage_, PrintMainImageSince },
        { fieldOverprintCopyright, "OverprintCopyright", &L::overprintCopyright_, OverprintWordSince,
            [](L& layout) { layout.overprintCopyright_ = false; } },
        { fieldOverprintWord, "OverprintWord", &L::overprintWord_, OverprintWordSince },
        { fieldOverprintColour, "OverprintColour", &L::overprintColour_, OverprintColourSince },
        { fieldOverprintDiagonal, "OverprintDiagonal", &L::overprintDiagonal_, OverprintDiagonalSince },
        { fieldOverprintDiagWidth, "OverprintDiagWidth", &L::overprintDiagWidth_, OverprintDiagWidthSince,
            [](L& layout) { layout.overprintDiagWidth_ = 5; } },
    } };
    return rows;
}

void Layout::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(Fields(), *this, *this, pendingOnly, out, fieldCount, writeTerminator);
}

bool Layout::ReadFieldValue(std::istream& in, uint16_t fieldId)
{
    // LayoutType is stored as it arrives, without rebuilding the tree.
    return fieldtable::ReadMessageValue(Fields(), *this, *this, in, fieldId);
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
    fieldtable::Copy(Fields(), *this, *layout);
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
    const FieldTable<Layout> rows = Fields();
    archive << GetId() << layoutType_;
    paper_.Store(archive);
    fieldtable::Store(rows.subspan(1), *this, archive);
    archive << static_cast<int32_t>(root_->CountUnits());
    root_->Store(archive);
    archive << loaded_;
}

void Layout::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void Layout::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    int32_t layoutType = 0;
    archive >> layoutType;
    SetLayoutType(layoutType);
    paper_.Load(archive, context);
    fieldtable::Load(Fields().subspan(1), *this, archive, context, ArchiveFormsSince);
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
        unit->Load(archive, context);
    }
    archive >> loaded_;
    if (context.dataVersion < LateExtraTextsBefore)
        HideLateExtraTexts();
    ClearModified();
}
