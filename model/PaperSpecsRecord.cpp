// Record message, clone and archive forms of the paper record (PaperSpecs).
#include "model/PaperSpecs.h"

#include "records/CsvNumbers.h"
#include "records/DataVersion.h"
#include "records/DispatchRaw.h"

std::string PaperSpecs::Describe() const
{
    return "PaperSpecs: " + FormatUnsigned(GetId());
}

void PaperSpecs::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void PaperSpecs::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    WriteDispatchInt(pendingOnly, out, paperType_, fieldPaperType);
    WriteDispatchInt(pendingOnly, out, paperHeight_, fieldPaperHeight);
    WriteDispatchInt(pendingOnly, out, paperWidth_, fieldPaperWidth);
    WriteDispatchInt(pendingOnly, out, marginLeft_, fieldMarginLeft);
    WriteDispatchInt(pendingOnly, out, marginRight_, fieldMarginRight);
    WriteDispatchInt(pendingOnly, out, marginTop_, fieldMarginTop);
    WriteDispatchInt(pendingOnly, out, marginBottom_, fieldMarginBottom);
    WriteDispatchBool(pendingOnly, out, portrait_, fieldPortrait);
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

uint8_t PaperSpecs::ReadFields(std::istream& in)
{
    // The operation byte is read and not looked at: a paper only ever takes field updates.
    const uint8_t operation = ReadDispatchOperation(in);
    ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
        int32_t* const numbers[] = { &paperType_, &paperHeight_, &paperWidth_, &marginLeft_, &marginRight_,
            &marginTop_, &marginBottom_ };
        if (fieldId < std::size(numbers)) {
            ReadDispatchInt(in, *numbers[fieldId]);
            return true;
        }
        if (fieldId == fieldPortrait) {
            ReadDispatchBool(in, portrait_);
            return true;
        }
        return false;
    });
    KeepPaperTypeInTable();
    ClearModified();
    return operation;
}

DatabaseRecord* PaperSpecs::Clone(DatabaseRecord& target) const
{
    auto* paper = dynamic_cast<PaperSpecs*>(&target);
    if (!paper)
        return nullptr;
    paper->paperType_ = paperType_;
    paper->paperHeight_ = paperHeight_;
    paper->paperWidth_ = paperWidth_;
    paper->marginLeft_ = marginLeft_;
    paper->marginRight_ = marginRight_;
    paper->marginTop_ = marginTop_;
    paper->marginBottom_ = marginBottom_;
    paper->portrait_ = portrait_;
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
    archive << GetId() << paperType_ << paperHeight_ << paperWidth_ << marginLeft_ << marginRight_
            << marginTop_ << marginBottom_ << portrait_;
}

void PaperSpecs::Load(win::Archive& archive)
{
    LoadArchiveId(archive);
    archive >> paperType_ >> paperHeight_ >> paperWidth_ >> marginLeft_ >> marginRight_ >> marginTop_
        >> marginBottom_ >> portrait_;
    KeepPaperTypeInTable();
    ClearModified();
}
