// Record message, clone and archive forms of the paper record (PaperSpecs).
#include "model/PaperSpecs.h"

#include "model/LayoutDocumentVersions.h"
#include "records/CsvNumbers.h"

#include <array>

std::string PaperSpecs::Describe() const
{
    return "PaperSpecs: " + FormatUnsigned(GetId());
}

void PaperSpecs::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

FieldTable<PaperSpecs> PaperSpecs::Fields()
{
    using P = PaperSpecs;
    static const std::array<FieldRow<P>, 8> rows = { {
        { fieldPaperType, "PaperType", &P::paperType_ },
        { fieldPaperHeight, "PaperHeight", &P::paperHeight_ },
        { fieldPaperWidth, "PaperWidth", &P::paperWidth_ },
        { fieldMarginLeft, "MarginLeft", &P::marginLeft_ },
        { fieldMarginRight, "MarginRight", &P::marginRight_ },
        { fieldMarginTop, "MarginTop", &P::marginTop_ },
        { fieldMarginBottom, "MarginBottom", &P::marginBottom_ },
        { fieldPortrait, "Portrait", &P::portrait_ },
    } };
    return rows;
}

void PaperSpecs::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    fieldtable::WriteMessage(Fields(), *this, *this, pendingOnly, out, fieldCount, writeTerminator);
}

uint8_t PaperSpecs::ReadFields(std::istream& in)
{
    // The operation byte is read and not looked at: a paper only ever takes field updates.
    const uint8_t operation = ReadDispatchOperation(in);
    ReadFieldUpdates(in, fieldCount,
        [&](uint16_t fieldId) { return fieldtable::ReadMessageValue(Fields(), *this, *this, in, fieldId); });
    KeepPaperTypeInTable();
    ClearModified();
    return operation;
}

DatabaseRecord* PaperSpecs::Clone(DatabaseRecord& target) const
{
    auto* paper = dynamic_cast<PaperSpecs*>(&target);
    if (!paper)
        return nullptr;
    fieldtable::Copy(Fields(), *this, *paper);
    return paper;
}

std::unique_ptr<DatabaseRecord> PaperSpecs::Clone() const
{
    auto paper = std::make_unique<PaperSpecs>(paperType_);
    Clone(*paper);
    return paper;
}

void PaperSpecs::Store(win::Archive& archive) const
{
    archive << GetId();
    fieldtable::Store(Fields(), *this, archive);
}

void PaperSpecs::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void PaperSpecs::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    fieldtable::Load(Fields(), *this, archive, context, layoutdoc::ArchiveFormsSince);
    KeepPaperTypeInTable();
    ClearModified();
}
