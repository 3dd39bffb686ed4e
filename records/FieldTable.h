// One table per record lists every stored field once: its record-message field id, its label in
// the documents, the member that holds it and the data version that added it. The member's type is
// the field's kind (text, 32-bit integer, unsigned, flag). The table drives every form of the
// record, so that no form can forget a field:
//  - record messages: each id in ascending order; the rows that share an id travel as one value
//    (two integers as a point or size, read whole before either member changes);
//  - archive forms and documents: the rows in table order, which is the order of the files;
//  - copies (Clone, CopyFrom) and the round-trip tests.
// A field a file lacks by its version keeps its value, or takes what the row's whenAbsent gives it.
#pragma once

#include "platform/win/Archive.h"
#include "platform/win/Types.h"
#include "records/ArchiveStrings.h"
#include "records/ReadContext.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

template <typename Record>
using FieldMember
    = std::variant<std::string Record::*, int32_t Record::*, uint32_t Record::*, bool Record::*>;

template <typename Record> struct FieldRow {
    uint16_t id;
    const char* label;
    FieldMember<Record> member;
    // Files of this version and before lack the field; 0 for a field every file holds.
    double since = 0.0;
    // What a file that lacks the field does to the record; nothing when null.
    void (*whenAbsent)(Record&) = nullptr;
};

template <typename Record> using FieldTable = std::span<const FieldRow<Record>>;

namespace fieldtable {

// Whether data read in the context holds the row's field. Fields added at or before formSince are
// in every instance of the form (a form that came later than them carries them all).
template <typename Record>
constexpr bool Holds(const FieldRow<Record>& row, const ReadContext& context, double formSince = 0.0)
{
    return row.since <= formSince || context.Holds(row.since);
}

// Calls f(row, value) for every row, value being a reference to the row's member in the record
// (const when the record is).
template <typename Record, typename Target, typename F>
requires std::is_same_v<std::remove_const_t<Target>, Record>
void ForEach(FieldTable<Record> rows, Target& record, F&& f)
{
    for (const FieldRow<Record>& row : rows)
        std::visit([&](auto member) { f(row, record.*member); }, row.member);
}

// Reads the rows the data holds, in table order, with read(value); a row the data lacks takes its
// whenAbsent.
template <typename Record, typename Read>
void ReadHeld(
    FieldTable<Record> rows, Record& record, const ReadContext& context, double formSince, Read&& read)
{
    for (const FieldRow<Record>& row : rows) {
        if (Holds(row, context, formSince))
            std::visit([&](auto member) { read(record.*member); }, row.member);
        else if (row.whenAbsent)
            row.whenAbsent(record);
    }
}

template <typename Record> void Copy(FieldTable<Record> rows, const Record& source, Record& target)
{
    for (const FieldRow<Record>& row : rows)
        std::visit([&](auto member) { target.*member = source.*member; }, row.member);
}

namespace detail {

// The rows of one message field: one, or two integers that travel as a point.
template <typename Record> struct MessageField {
    const FieldRow<Record>* first = nullptr;
    const FieldRow<Record>* second = nullptr;
};

template <typename Record> MessageField<Record> FindMessageField(FieldTable<Record> rows, uint16_t id)
{
    MessageField<Record> field;
    for (const FieldRow<Record>& row : rows) {
        if (row.id != id)
            continue;
        (field.first ? field.second : field.first) = &row;
    }
    return field;
}

template <typename Record> int32_t& IntegerOf(const FieldRow<Record>& row, Record& record)
{
    return record.*std::get<int32_t Record::*>(row.member);
}

} // namespace detail

// Writes the message fields 0 to fieldCount - 1 in id order through the record's typed writers
// (with pendingOnly only the modified ones).
template <typename Record>
void WriteMessage(
    FieldTable<Record> rows, Record& record, bool pendingOnly, std::ostream& out, uint16_t fieldCount)
{
    for (uint16_t id = 0; id < fieldCount; ++id) {
        const auto field = detail::FindMessageField(rows, id);
        if (!field.first)
            continue;
        if (field.second) {
            const win::POINT pair { detail::IntegerOf(*field.first, record),
                detail::IntegerOf(*field.second, record) };
            record.WriteDispatchPoint(pendingOnly, out, pair, id);
            continue;
        }
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                using T = std::remove_cvref_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    record.WriteDispatchString(pendingOnly, out, value, id);
                else if constexpr (std::is_same_v<T, int32_t>)
                    record.WriteDispatchInt(pendingOnly, out, value, id);
                else if constexpr (std::is_same_v<T, uint32_t>)
                    record.WriteDispatchUnsigned(pendingOnly, out, value, id);
                else
                    record.WriteDispatchBool(pendingOnly, out, value, id);
            },
            field.first->member);
    }
}

// Reads the value of one message field through the record's typed readers; false for an id that
// no row has.
template <typename Record>
bool ReadMessageValue(FieldTable<Record> rows, Record& record, std::istream& in, uint16_t id)
{
    const auto field = detail::FindMessageField(rows, id);
    if (!field.first)
        return false;
    if (field.second) {
        win::POINT pair;
        record.ReadDispatchPoint(in, pair);
        detail::IntegerOf(*field.first, record) = pair.x;
        detail::IntegerOf(*field.second, record) = pair.y;
        return true;
    }
    std::visit(
        [&](auto member) {
            auto& value = record.*member;
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>)
                record.ReadDispatchString(in, value);
            else if constexpr (std::is_same_v<T, int32_t>)
                record.ReadDispatchInt(in, value);
            else if constexpr (std::is_same_v<T, uint32_t>)
                record.ReadDispatchUnsigned(in, value);
            else
                record.ReadDispatchBool(in, value);
        },
        field.first->member);
    return true;
}

// Archive forms: texts in the framework's string form, the rest in the archive's own.
inline void StoreValue(win::Archive& archive, const std::string& text)
{
    WriteArchiveStdString(archive, text);
}
template <typename T> void StoreValue(win::Archive& archive, const T& value)
{
    archive << value;
}
inline void LoadValue(win::Archive& archive, std::string& text)
{
    ReadArchiveStdString(archive, text);
}
template <typename T> void LoadValue(win::Archive& archive, T& value)
{
    archive >> value;
}

template <typename Record> void Store(FieldTable<Record> rows, const Record& record, win::Archive& archive)
{
    ForEach(rows, record, [&](const FieldRow<Record>&, const auto& value) { StoreValue(archive, value); });
}

template <typename Record>
void Load(FieldTable<Record> rows, Record& record, win::Archive& archive, const ReadContext& context,
    double formSince)
{
    ReadHeld(rows, record, context, formSince, [&](auto& value) { LoadValue(archive, value); });
}

} // namespace fieldtable
