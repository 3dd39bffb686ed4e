#include "records/DatabaseRecord.h"

#include "platform/win/LittleEndian.h"
#include "records/DataVersion.h"
#include "records/DatabaseComms.h"

#include <algorithm>
#include <array>
#include <bit>

DatabaseRecord::DatabaseRecord() = default;

DatabaseRecord::DatabaseRecord(const DatabaseRecord&)
    : DatabaseRecord()
{
}

DatabaseRecord& DatabaseRecord::operator=(const DatabaseRecord&)
{
    return *this;
}

DatabaseRecord::~DatabaseRecord() = default;

bool DatabaseRecord::Traverse(TraverseAction&)
{
    return false;
}
void DatabaseRecord::OnDispatchAdded() { }
void DatabaseRecord::OnDispatchRemoved() { }
int DatabaseRecord::NotifyChange(int, RecordType, int)
{
    return 0;
}
void DatabaseRecord::OnTraverseHook(TraverseHook) { }
int DatabaseRecord::Query(uint8_t, uint8_t, int, int, bool&)
{
    return 0;
}

bool DatabaseRecord::IsFieldModified(uint16_t fieldId) const
{
    return fieldId < MaskFieldCount && (modified_ >> fieldId) & 1u;
}

void DatabaseRecord::SetFieldModified(uint16_t fieldId)
{
    if (fieldId < MaskFieldCount)
        modified_ |= uint64_t { 1 } << fieldId;
}

void DatabaseRecord::ClearFieldModified(uint16_t fieldId)
{
    if (fieldId < MaskFieldCount)
        modified_ &= ~(uint64_t { 1 } << fieldId);
}

void DatabaseRecord::SetFieldsModified(uint16_t count)
{
    modified_ |= count >= MaskFieldCount ? ~uint64_t { 0 } : (uint64_t { 1 } << count) - 1;
}

void DatabaseRecord::ChildAdded(DatabaseRecord*, RecordType) { }
void DatabaseRecord::ChildRemoved(DatabaseRecord*, RecordType) { }
void DatabaseRecord::PrepareRead(uint32_t) { }

void DatabaseRecord::ReadAsChild(uint32_t id, std::istream& is)
{
    PrepareRead(id);
    OnDispatchAdded();
    ReadFields(is);
}

// Reading

void DatabaseRecord::ThrowDispatchReadError(std::string_view prefix) const
{
    throw DispatchReadError(std::string(prefix) + Describe());
}

void DatabaseRecord::ReadDispatchRaw(
    std::istream& is, void* data, std::size_t size, std::string_view prefix) const
{
    if (!is.good())
        ThrowDispatchReadError(prefix);
    is.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(is.gcount()) != size)
        ThrowDispatchReadError(prefix);
}

namespace {
template <std::size_t N> uint64_t FromLittleEndian(const std::array<unsigned char, N>& raw)
{
    return win::LoadLittleEndian(raw.data(), N);
}
} // namespace

uint32_t DatabaseRecord::ReadDispatchRaw32(std::istream& is, std::string_view prefix) const
{
    std::array<unsigned char, 4> raw {};
    ReadDispatchRaw(is, raw.data(), raw.size(), prefix);
    return static_cast<uint32_t>(FromLittleEndian(raw));
}

uint64_t DatabaseRecord::ReadDispatchRaw64(std::istream& is, std::string_view prefix) const
{
    std::array<unsigned char, 8> raw {};
    ReadDispatchRaw(is, raw.data(), raw.size(), prefix);
    return FromLittleEndian(raw);
}

void DatabaseRecord::ReadDispatchByte(std::istream& is, uint8_t& value) const
{
    ReadDispatchRaw(is, &value, 1);
}

void DatabaseRecord::ReadDispatchFieldId(std::istream& is, uint16_t& value) const
{
    std::array<unsigned char, 2> raw {};
    ReadDispatchRaw(is, raw.data(), raw.size());
    value = static_cast<uint16_t>(FromLittleEndian(raw));
}

void DatabaseRecord::ReadDispatchInt(std::istream& is, int32_t& value) const
{
    value = static_cast<int32_t>(ReadDispatchRaw32(is));
}

void DatabaseRecord::ReadDispatchUnsigned(std::istream& is, uint32_t& value) const
{
    value = ReadDispatchRaw32(is);
}

void DatabaseRecord::ReadDispatchBool(std::istream& is, bool& value) const
{
    uint8_t byte = 0;
    ReadDispatchRaw(is, &byte, 1);
    value = byte != 0;
}

void DatabaseRecord::ReadDispatchPoint(std::istream& is, win::POINT& value) const
{
    const int32_t x = static_cast<int32_t>(ReadDispatchRaw32(is));
    const int32_t y = static_cast<int32_t>(ReadDispatchRaw32(is));
    value = { x, y };
}

void DatabaseRecord::ReadDispatchPoint(std::istream& is, win::SIZE& value) const
{
    const int32_t cx = static_cast<int32_t>(ReadDispatchRaw32(is));
    const int32_t cy = static_cast<int32_t>(ReadDispatchRaw32(is));
    value = { cx, cy };
}

void DatabaseRecord::ReadDispatchString(std::istream& is, std::string& value) const
{
    const uint32_t length = ReadDispatchRaw32(is, FaultyStringStreamText);
    // The length comes from the stream: grow with the bytes that actually arrive, a chunk at a
    // time, so that a false length cannot make a large allocation.
    constexpr std::size_t chunk = 64 * 1024;
    std::string text;
    std::size_t remaining = length;
    while (remaining > 0) {
        const std::size_t part = std::min(remaining, chunk);
        const std::size_t start = text.size();
        text.resize(start + part);
        ReadDispatchRaw(is, text.data() + start, part, FaultyStringStreamText);
        remaining -= part;
    }
    value = std::move(text);
}

void DatabaseRecord::ReadFieldUpdates(
    std::istream& is, uint16_t terminatorId, const std::function<bool(uint16_t)>& readValue)
{
    for (;;) {
        uint16_t fieldId = 0;
        ReadDispatchFieldId(is, fieldId);
        if (fieldId == terminatorId)
            return;
        // An unknown id has no known value size, so nothing after it can be trusted.
        if (!readValue(fieldId))
            throw DispatchReadError(
                "Unknown field id " + std::to_string(fieldId) + " in record message: " + Describe());
        ClearFieldModified(fieldId);
    }
}

uint8_t DatabaseRecord::ReadDispatchOperation(std::istream& is) const
{
    DatabaseComms::GetInstance();
    uint8_t operation = 0;
    ReadDispatchByte(is, operation);
    return operation;
}

DatabaseRecord::ChildAddress DatabaseRecord::ReadChildAddress(std::istream& is) const
{
    ChildAddress address;
    ReadDispatchByte(is, address.type);
    ReadDispatchUnsigned(is, address.id);
    return address;
}

void DatabaseRecord::ThrowUnknownChildType(uint8_t type) const
{
    throw DispatchReadError(
        "Unknown child record type " + std::to_string(type) + " in record message: " + Describe());
}

// Writing

bool DatabaseRecord::BeginDispatchField(bool pendingOnly, std::ostream& os, uint16_t fieldId)
{
    if (pendingOnly && !IsFieldModified(fieldId))
        return false;
    WriteDispatchRaw16(os, fieldId);
    ClearFieldModified(fieldId);
    return true;
}

void DatabaseRecord::WriteDispatchInt(bool pendingOnly, std::ostream& os, int32_t value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId))
        WriteDispatchRaw32(os, static_cast<uint32_t>(value));
}

void DatabaseRecord::WriteDispatchUnsigned(
    bool pendingOnly, std::ostream& os, uint32_t value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId))
        WriteDispatchRaw32(os, value);
}

void DatabaseRecord::WriteDispatchBool(bool pendingOnly, std::ostream& os, bool value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId))
        os.put(value ? 1 : 0);
}

void DatabaseRecord::WriteDispatchPoint(
    bool pendingOnly, std::ostream& os, const win::POINT& value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId)) {
        WriteDispatchRaw32(os, static_cast<uint32_t>(value.x));
        WriteDispatchRaw32(os, static_cast<uint32_t>(value.y));
    }
}

void DatabaseRecord::WriteDispatchPoint(
    bool pendingOnly, std::ostream& os, const win::SIZE& value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId)) {
        WriteDispatchRaw32(os, static_cast<uint32_t>(value.cx));
        WriteDispatchRaw32(os, static_cast<uint32_t>(value.cy));
    }
}

void DatabaseRecord::WriteDispatchString(
    bool pendingOnly, std::ostream& os, const std::string& value, uint16_t fieldId)
{
    if (BeginDispatchField(pendingOnly, os, fieldId))
        WriteDispatchRawString(os, value);
}

void DatabaseRecord::LoadArchiveId(win::Archive& archive, const ReadContext& context)
{
    if (!context.Holds(RecordIdSince))
        return;
    uint32_t id = 0;
    archive >> id;
    SetId(id);
}
