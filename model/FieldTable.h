// One table per record lists every stored field once: its record-message field id, its label (the
// documents' key, the file's header column or settings key), the member that holds it, the data
// versions from which the files and archives carry it, its default and its position in a CSV file.
// The member's type is the field's kind (text, 32-bit integer, unsigned, flag, amount, real). The
// member belongs to the record itself or to a plain fields struct the record holds; either way the
// functions below turn one row into each stored form, and the loops over a table build on them, so
// that no form can forget a field:
//  - record messages: each id in ascending order; the rows that share an id travel as one value
//    (two integers as a point or size, read whole before either member changes);
//  - archive forms, documents and CSV files: the rows in table order, which is the order of the files;
//  - copies (Clone, CopyFrom) and the round-trip tests.
// A field a file lacks by its version keeps its value, or takes what the row's whenAbsent gives it.
#pragma once

#include "model/CsvCursor.h"
#include "model/Money.h"
#include "model/MoneyCsv.h"
#include "model/TypedLists.h"
#include "platform/win/Archive.h"
#include "platform/win/Types.h"
#include "records/ArchiveStrings.h"
#include "records/CsvFields.h"
#include "records/DatabaseRecord.h"
#include "records/DispatchRaw.h"
#include "records/ReadContext.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

// The kinds a record's fields may have: text, 32-bit integer, unsigned, flag, amount and real. A
// record whose forms know fewer (the layout documents have no amounts or reals) names its own by
// specialising FieldKinds before its table, and its readers and writers need handle only those.
template <typename Record> struct FieldKinds {
    using Member = std::variant<std::string Record::*, int32_t Record::*, uint32_t Record::*, bool Record::*,
        Money Record::*, double Record::*>;
};
template <typename Record> struct DocumentFieldKinds {
    using Member = std::variant<std::string Record::*, int32_t Record::*, uint32_t Record::*, bool Record::*>;
};
template <typename Record> using FieldMember = typename FieldKinds<Record>::Member;

template <typename Record> struct FieldRow {
    uint16_t id; // record-message field id and modified-mask bit
    std::string_view label;
    FieldMember<Record> member;
    // Files of this version and before lack the field; 0 for a field every file holds.
    double since = 0.0;
    // What a file that lacks the field does to the record; nothing when null.
    void (*whenAbsent)(Record&) = nullptr;
    // Archives of this version and before lack the field, for records whose archives and files
    // gained it at different versions.
    double archiveSince = 0.0;
    // Of numbers, flags (non-zero is true) and amounts (in units); texts start empty.
    double defaultValue = 0.0;
    int position = 0; // 1-based column (or settings pair) in the CSV file
};

template <typename Record> using FieldTable = std::span<const FieldRow<Record>>;

namespace fieldtable {

template <typename... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// Calls visit(value) with a reference to the row's member in fields (const when fields is).
template <typename Fields, typename Target, typename Visit>
requires std::is_same_v<std::remove_const_t<Target>, Fields>
void VisitValue(Target& fields, const FieldRow<Fields>& row, Visit&& visit)
{
    std::visit([&](auto member) { visit(fields.*member); }, row.member);
}

template <typename Fields> void SetDefault(Fields& fields, const FieldRow<Fields>& row)
{
    const double value = row.defaultValue;
    VisitValue(fields, row,
        Overloaded { [](std::string& text) { text.clear(); }, [&](bool& flag) { flag = value != 0; },
            [&](uint32_t& number) { number = static_cast<uint32_t>(value); },
            [&](int32_t& number) { number = static_cast<int32_t>(value); },
            [&](Money& money) { money = Money(value); }, [&](double& number) { number = value; } });
}

template <typename Fields> void Copy(const Fields& from, Fields& to, const FieldRow<Fields>& row)
{
    std::visit([&](auto member) { to.*member = from.*member; }, row.member);
}

// Reads the row's CSV form; false when the file had no further field.
template <typename Fields> bool ReadCsv(CsvCursor& in, Fields& fields, const FieldRow<Fields>& row)
{
    bool present = false;
    VisitValue(fields, row,
        Overloaded { [&](std::string& text) { present = in.Text(text); },
            [&](bool& flag) { present = in.Bool(flag); },
            [&](uint32_t& number) { present = in.Unsigned(number); },
            [&](int32_t& number) { present = in.Int(number); },
            [&](Money& money) { present = in.Price(money); },
            [&](double& number) { present = in.Double(number); } });
    return present;
}

template <typename Fields>
void WriteCsv(std::ostream& out, const Fields& fields, const FieldRow<Fields>& row, bool leadingComma)
{
    VisitValue(fields, row,
        Overloaded { [&](const std::string& text) { WriteCsvString(out, text, leadingComma); },
            [&](bool flag) { WriteCsvBool(out, flag, leadingComma); },
            [&](uint32_t number) { WriteCsvUnsigned(out, number, leadingComma); },
            [&](int32_t number) { WriteCsvInt(out, number, leadingComma); },
            [&](const Money& money) { WriteCsvMoney(out, money, leadingComma); },
            [&](double number) { WriteCsvDouble(out, number, leadingComma); } });
}

// Archive forms: texts in the framework's string form, amounts in their own, the rest in the
// archive's.
template <typename Fields>
void Store(win::Archive& archive, const Fields& fields, const FieldRow<Fields>& row)
{
    VisitValue(fields, row,
        Overloaded { [&](const std::string& text) { WriteArchiveStdString(archive, text); },
            [&](const Money& money) { money.Store(archive); }, [&](auto number) { archive << number; } });
}

template <typename Fields> void Load(win::Archive& archive, Fields& fields, const FieldRow<Fields>& row)
{
    VisitValue(fields, row,
        Overloaded { [&](std::string& text) { ReadArchiveStdString(archive, text); },
            [&](Money& money) { money.Load(archive); }, [&](auto& number) { archive >> number; } });
}

template <typename Fields>
void WriteDispatch(DatabaseRecord& record, bool pendingOnly, std::ostream& out, const Fields& fields,
    const FieldRow<Fields>& row)
{
    const uint16_t id = row.id;
    VisitValue(fields, row,
        Overloaded { [&](const std::string& text) { record.WriteDispatchString(pendingOnly, out, text, id); },
            [&](bool flag) { record.WriteDispatchBool(pendingOnly, out, flag, id); },
            [&](uint32_t number) { record.WriteDispatchUnsigned(pendingOnly, out, number, id); },
            [&](int32_t number) { record.WriteDispatchInt(pendingOnly, out, number, id); },
            [&](const Money& money) { WriteDispatchMoney(record, pendingOnly, out, money, id); },
            [&](double number) { WriteDispatchDouble(record, pendingOnly, out, number, id); } });
}

template <typename Fields>
void ReadDispatch(const DatabaseRecord& record, std::istream& in, Fields& fields, const FieldRow<Fields>& row)
{
    VisitValue(fields, row,
        Overloaded { [&](std::string& text) { record.ReadDispatchString(in, text); },
            [&](bool& flag) { record.ReadDispatchBool(in, flag); },
            [&](uint32_t& number) { record.ReadDispatchUnsigned(in, number); },
            [&](int32_t& number) { record.ReadDispatchInt(in, number); },
            [&](Money& money) { ReadDispatchMoney(record, in, money); },
            [&](double& number) { ReadDispatchDouble(record, in, number); } });
}

// The table's rows in field-id order (record messages and archives go by id, files by position).
template <typename Fields, std::size_t N>
constexpr std::array<const FieldRow<Fields>*, N> OrderedById(const std::array<FieldRow<Fields>, N>& table)
{
    std::array<const FieldRow<Fields>*, N> ordered {};
    for (const auto& row : table)
        if (row.id < N)
            ordered[row.id] = &row;
    return ordered;
}

// The row of a field id, or nullptr.
template <typename Fields, std::size_t N>
const FieldRow<Fields>* FindById(const std::array<FieldRow<Fields>, N>& table, uint16_t id)
{
    for (const auto& row : table)
        if (row.id == id)
            return &row;
    return nullptr;
}

// The loops over a whole table, for records whose members are the fields.

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
        VisitValue(record, row, [&](auto& value) { f(row, value); });
}

// Calls read(row) for the rows the data holds, in table order; a row the data lacks takes its
// whenAbsent.
template <typename Record, typename Read>
void ForHeld(
    FieldTable<Record> rows, Record& record, const ReadContext& context, double formSince, Read&& read)
{
    for (const FieldRow<Record>& row : rows) {
        if (Holds(row, context, formSince))
            read(row);
        else if (row.whenAbsent)
            row.whenAbsent(record);
    }
}

// Reads the rows the data holds, in table order, with read(value).
template <typename Record, typename Read>
void ReadHeld(
    FieldTable<Record> rows, Record& record, const ReadContext& context, double formSince, Read&& read)
{
    ForHeld(rows, record, context, formSince,
        [&](const FieldRow<Record>& row) { VisitValue(record, row, read); });
}

// Writes the rows' CSV forms in table order, the first after a comma only with leadingComma.
template <typename Fields>
void WriteCsvRow(
    std::type_identity_t<FieldTable<Fields>> rows, const Fields& fields, std::ostream& out, bool leadingComma)
{
    for (const FieldRow<Fields>& row : rows) {
        WriteCsv(out, fields, row, leadingComma);
        leadingComma = true;
    }
}

template <typename Record> void SetDefaults(std::type_identity_t<FieldTable<Record>> rows, Record& record)
{
    for (const FieldRow<Record>& row : rows)
        SetDefault(record, row);
}

template <typename Record>
void Copy(std::type_identity_t<FieldTable<Record>> rows, const Record& source, Record& target)
{
    for (const FieldRow<Record>& row : rows)
        Copy(source, target, row);
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

template <typename Record, typename Target>
requires std::is_same_v<std::remove_const_t<Target>, Record>
auto& IntegerOf(const FieldRow<Record>& row, Target& values)
{
    return values.*std::get<int32_t Record::*>(row.member);
}

} // namespace detail

// Writes the message fields 0 to fieldCount - 1 of the record, whose values are in values, in id
// order (with pendingOnly only the modified ones), then with writeTerminator the terminator id,
// fieldCount.
template <typename Fields>
void WriteMessage(std::type_identity_t<FieldTable<Fields>> rows, DatabaseRecord& record, const Fields& values,
    bool pendingOnly, std::ostream& out, uint16_t fieldCount, bool writeTerminator)
{
    for (uint16_t id = 0; id < fieldCount; ++id) {
        const auto field = detail::FindMessageField(rows, id);
        if (!field.first)
            continue;
        if (field.second) {
            const win::POINT pair { detail::IntegerOf(*field.first, values),
                detail::IntegerOf(*field.second, values) };
            record.WriteDispatchPoint(pendingOnly, out, pair, id);
            continue;
        }
        WriteDispatch(record, pendingOnly, out, values, *field.first);
    }
    if (writeTerminator)
        WriteDispatchRaw16(out, fieldCount);
}

// Reads the value of one message field of the record into values; false for an id that no row has.
template <typename Fields>
bool ReadMessageValue(std::type_identity_t<FieldTable<Fields>> rows, const DatabaseRecord& record,
    Fields& values, std::istream& in, uint16_t id)
{
    const auto field = detail::FindMessageField(rows, id);
    if (!field.first)
        return false;
    if (field.second) {
        win::POINT pair;
        record.ReadDispatchPoint(in, pair);
        detail::IntegerOf(*field.first, values) = pair.x;
        detail::IntegerOf(*field.second, values) = pair.y;
        return true;
    }
    ReadDispatch(record, in, values, *field.first);
    return true;
}

template <typename Record>
void Store(std::type_identity_t<FieldTable<Record>> rows, const Record& record, win::Archive& archive)
{
    for (const FieldRow<Record>& row : rows)
        Store(archive, record, row);
}

template <typename Record>
void Load(FieldTable<Record> rows, Record& record, win::Archive& archive, const ReadContext& context,
    double formSince)
{
    ForHeld(
        rows, record, context, formSince, [&](const FieldRow<Record>& row) { Load(archive, record, row); });
}

} // namespace fieldtable
