// A mount size: lookups, changes, its row of the mounts section and its record forms.
#include "model/MountSizeData.h"

#include "model/MoneyCsv.h"
#include "records/ArchiveStrings.h"
#include "records/CsvFields.h"
#include "records/CsvNumbers.h"
#include "records/DispatchRaw.h"

#include <ostream>

Money MountSizeData::GetPrice(uint32_t mountType) const
{
    return mountType < prices_.size() ? prices_[mountType] : Money();
}

int32_t MountSizeData::GetCode(uint32_t mountType) const
{
    return mountType < codes_.size() ? codes_[mountType] : noCode;
}

void MountSizeData::AddTypeEntry(const Money& price, int32_t code)
{
    prices_.push_back(price);
    codes_.push_back(code);
    SetFieldModified(fieldPrices);
    SetFieldModified(fieldCodes);
    if (!HasOtherOwner())
        NotifyChange(static_cast<int>(DispatchOp::fieldUpdates), RecordType::ctNull, 0);
}

void MountSizeData::CopyFrom(const MountSizeData& other)
{
    if (&other == this)
        return;
    name_ = other.name_;
    prices_ = other.prices_;
    codes_ = other.codes_;
}

bool MountSizeData::ReadCsv(CsvCursor& in, uint32_t typeCount)
{
    if (!in.Stream().good())
        return false;
    name_.clear();
    prices_.clear();
    codes_.clear();
    if (!in.Text(name_) || name_.empty())
        return false;
    in.Skip(); // the row index the writer numbers the rows with
    for (uint32_t t = 0; t < typeCount; ++t)
        in.Price(prices_.emplace_back());
    in.Skip(); // the empty field between prices and codes
    for (uint32_t t = 0; t < typeCount; ++t)
        in.Int(codes_.emplace_back(noCode));
    ClearModified();
    return true;
}

void MountSizeData::WriteCsv(std::ostream& out, uint32_t index) const
{
    WriteCsvString(out, name_, false);
    WriteCsvUnsigned(out, index, true);
    for (const Money& price : prices_)
        WriteCsvMoney(out, price, true);
    out << ',';
    for (const int32_t code : codes_)
        WriteCsvInt(out, code, true);
}

std::string MountSizeData::Describe() const
{
    return "MountSizeData: " + FormatUnsigned(GetId()) + ": " + name_;
}

void MountSizeData::MarkAllFieldsModified()
{
    SetFieldsModified(fieldCount);
}

void MountSizeData::WriteFields(bool pendingOnly, std::ostream& out, bool writeTerminator)
{
    WriteDispatchString(pendingOnly, out, name_, fieldName);
    WriteDispatchMoneyList(*this, pendingOnly, out, prices_, fieldPrices);
    WriteDispatchIntList(*this, pendingOnly, out, codes_, fieldCodes);
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

uint8_t MountSizeData::ReadFields(std::istream& in)
{
    // The operation byte is read and not looked at: a size only ever takes field updates.
    const uint8_t operation = ReadDispatchOperation(in);
    ReadFieldUpdates(in, fieldCount, [&](uint16_t fieldId) {
        switch (fieldId) {
        case fieldName:
            ReadDispatchString(in, name_);
            return true;
        case fieldPrices:
            ReadDispatchMoneyList(*this, in, prices_);
            return true;
        case fieldCodes:
            ReadDispatchIntList(*this, in, codes_);
            return true;
        default:
            return false;
        }
    });
    ClearModified();
    return operation;
}

DatabaseRecord* MountSizeData::Clone(DatabaseRecord& target) const
{
    auto* size = dynamic_cast<MountSizeData*>(&target);
    if (size)
        size->CopyFrom(*this);
    return size;
}

std::unique_ptr<DatabaseRecord> MountSizeData::Clone() const
{
    auto size = std::make_unique<MountSizeData>();
    Clone(*size);
    return size;
}

void MountSizeData::Store(win::Archive& archive) const
{
    archive << GetId();
    WriteArchiveMoneyList(archive, prices_);
    WriteArchiveStdString(archive, name_);
    WriteArchiveIntList(archive, codes_);
}

void MountSizeData::Load(win::Archive& archive)
{
    Load(archive, ReadContext::OfLastFileRead());
}

void MountSizeData::Load(win::Archive& archive, const ReadContext& context)
{
    LoadArchiveId(archive, context);
    ReadArchiveMoneyList(archive, prices_);
    ReadArchiveStdString(archive, name_);
    ReadArchiveIntList(archive, codes_);
    ClearModified();
}
