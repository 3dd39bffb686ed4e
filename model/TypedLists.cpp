#include "model/TypedLists.h"

#include "records/ArchiveStrings.h"
#include "records/DispatchRaw.h"

#include <bit>

namespace {

void WriteArchiveCount(win::Archive& archive, std::size_t count)
{
    archive << static_cast<uint32_t>(count);
}

template <typename List, typename ReadElement>
void ReadDispatchList(const DatabaseRecord& record, std::istream& in, List& list, ReadElement readElement)
{
    list.clear();
    int32_t count = 0;
    record.ReadDispatchInt(in, count);
    for (int32_t i = 0; i < count; ++i)
        list.push_back(readElement());
}

template <typename List, typename WriteElement>
void WriteDispatchList(DatabaseRecord& record, bool pendingOnly, std::ostream& out, const List& list,
    uint16_t fieldId, WriteElement writeElement)
{
    if (!record.BeginDispatchField(pendingOnly, out, fieldId))
        return;
    WriteDispatchRaw32(out, static_cast<uint32_t>(list.size()));
    for (const auto& element : list)
        writeElement(element);
}

} // namespace

uint32_t ReadArchiveCount(win::Archive& archive, std::size_t minimumSize)
{
    uint32_t count = 0;
    archive >> count;
    if (count > archive.Remaining() / minimumSize)
        throw win::ArchiveException(
            win::ArchiveException::Cause::endOfFile, "list runs past the end of the archive");
    return count;
}

void ReadArchiveStringList(win::Archive& archive, StringList& list)
{
    list.clear();
    const uint32_t count = ReadArchiveCount(archive, 1);
    for (uint32_t i = 0; i < count; ++i)
        ReadArchiveStdString(archive, list.emplace_back());
}

void WriteArchiveStringList(win::Archive& archive, const StringList& list)
{
    WriteArchiveCount(archive, list.size());
    for (const auto& text : list)
        WriteArchiveStdString(archive, text);
}

void ReadArchiveMoneyList(win::Archive& archive, MoneyList& list)
{
    list.clear();
    const uint32_t count = ReadArchiveCount(archive, 4);
    for (uint32_t i = 0; i < count; ++i)
        list.emplace_back().Load(archive);
}

void WriteArchiveMoneyList(win::Archive& archive, const MoneyList& list)
{
    WriteArchiveCount(archive, list.size());
    for (const auto& money : list)
        money.Store(archive);
}

void ReadArchiveIntList(win::Archive& archive, IntList& list)
{
    list.clear();
    const uint32_t count = ReadArchiveCount(archive, 4);
    for (uint32_t i = 0; i < count; ++i)
        archive >> list.emplace_back();
}

void WriteArchiveIntList(win::Archive& archive, const IntList& list)
{
    WriteArchiveCount(archive, list.size());
    for (const int32_t value : list)
        archive << value;
}

void ReadDispatchMoney(const DatabaseRecord& record, std::istream& in, Money& money)
{
    if (!in.good())
        throw DatabaseRecord::DispatchReadError(std::string(FaultyMoneyStreamText) + record.Describe());
    int32_t amount = 0;
    record.ReadDispatchInt(in, amount);
    money = Money(amount);
}

void ReadDispatchDouble(const DatabaseRecord& record, std::istream& in, double& value)
{
    uint32_t low = 0;
    uint32_t high = 0;
    record.ReadDispatchUnsigned(in, low);
    record.ReadDispatchUnsigned(in, high);
    value = std::bit_cast<double>(uint64_t { high } << 32 | low);
}

void ReadDispatchStringList(const DatabaseRecord& record, std::istream& in, StringList& list)
{
    ReadDispatchList(record, in, list, [&] {
        std::string text;
        record.ReadDispatchString(in, text);
        return text;
    });
}

void ReadDispatchMoneyList(const DatabaseRecord& record, std::istream& in, MoneyList& list)
{
    ReadDispatchList(record, in, list, [&] {
        Money money;
        ReadDispatchMoney(record, in, money);
        return money;
    });
}

void ReadDispatchIntList(const DatabaseRecord& record, std::istream& in, IntList& list)
{
    ReadDispatchList(record, in, list, [&] {
        int32_t value = 0;
        record.ReadDispatchInt(in, value);
        return value;
    });
}

void WriteDispatchMoney(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const Money& money, uint16_t fieldId)
{
    record.WriteDispatchInt(pendingOnly, out, money.GetAmount(), fieldId);
}

void WriteDispatchDouble(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, double value, uint16_t fieldId)
{
    if (record.BeginDispatchField(pendingOnly, out, fieldId))
        WriteDispatchRawDouble(out, value);
}

void WriteDispatchStringList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const StringList& list, uint16_t fieldId)
{
    WriteDispatchList(record, pendingOnly, out, list, fieldId,
        [&](const std::string& text) { WriteDispatchRawString(out, text); });
}

void WriteDispatchMoneyList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const MoneyList& list, uint16_t fieldId)
{
    WriteDispatchList(record, pendingOnly, out, list, fieldId,
        [&](const Money& money) { WriteDispatchRaw32(out, static_cast<uint32_t>(money.GetAmount())); });
}

void WriteDispatchIntList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const IntList& list, uint16_t fieldId)
{
    WriteDispatchList(record, pendingOnly, out, list, fieldId,
        [&](int32_t value) { WriteDispatchRaw32(out, static_cast<uint32_t>(value)); });
}
