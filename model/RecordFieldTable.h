// Records whose fields are declared once, in a table: each row names a field of a plain fields
// struct through a member pointer, with its default, its record-message id, its position in the
// CSV file and the data versions from which the file and the archive carry it. The functions below
// turn one row into each stored form, so a record's readers, writers and copies are loops over
// its table.
#pragma once

#include "model/CsvCursor.h"
#include "model/Money.h"
#include "model/MoneyCsv.h"
#include "model/TypedLists.h"
#include "platform/win/Archive.h"
#include "records/ArchiveStrings.h"
#include "records/CsvFields.h"
#include "records/DatabaseRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace fieldtable {

template <typename Fields>
using Member = std::variant<std::string Fields::*, bool Fields::*, uint32_t Fields::*, int32_t Fields::*,
    Money Fields::*, double Fields::*>;

template <typename Fields> struct Field {
    std::string_view name; // the file's name for the field (header column or settings key)
    Member<Fields> member;
    double defaultValue; // of numbers, flags (non-zero is true) and amounts (in units); texts start empty
    uint16_t id; // record-message field id and modified-mask bit
    int position; // 1-based column (or settings pair) in the CSV file
    double fileSince; // the CSV file carries it when its version is above this
    double archiveSince; // the archive carries it when its version is above this
};

template <typename... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <typename... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

// Calls visit(value) with a reference to the field's value in fields.
template <typename Fields, typename Visit>
void VisitValue(Fields& fields, const Field<Fields>& field, Visit visit)
{
    std::visit([&](auto member) { visit(fields.*member); }, field.member);
}
template <typename Fields, typename Visit>
void VisitValue(const Fields& fields, const Field<Fields>& field, Visit visit)
{
    std::visit([&](auto member) { visit(fields.*member); }, field.member);
}

template <typename Fields> void SetDefault(Fields& fields, const Field<Fields>& field)
{
    const double value = field.defaultValue;
    VisitValue(fields, field,
        Overloaded { [](std::string& text) { text.clear(); }, [&](bool& flag) { flag = value != 0; },
            [&](uint32_t& number) { number = static_cast<uint32_t>(value); },
            [&](int32_t& number) { number = static_cast<int32_t>(value); },
            [&](Money& money) { money = Money(value); }, [&](double& number) { number = value; } });
}

template <typename Fields> void Copy(const Fields& from, Fields& to, const Field<Fields>& field)
{
    std::visit([&](auto member) { to.*member = from.*member; }, field.member);
}

// Reads the field's CSV form; false when the file had no further field.
template <typename Fields> bool ReadCsv(CsvCursor& in, Fields& fields, const Field<Fields>& field)
{
    bool present = false;
    VisitValue(fields, field,
        Overloaded { [&](std::string& text) { present = in.Text(text); },
            [&](bool& flag) { present = in.Bool(flag); },
            [&](uint32_t& number) { present = in.Unsigned(number); },
            [&](int32_t& number) { present = in.Int(number); },
            [&](Money& money) { present = in.Price(money); },
            [&](double& number) { present = in.Double(number); } });
    return present;
}

template <typename Fields>
void WriteCsv(std::ostream& out, const Fields& fields, const Field<Fields>& field, bool leadingComma)
{
    VisitValue(fields, field,
        Overloaded { [&](const std::string& text) { WriteCsvString(out, text, leadingComma); },
            [&](bool flag) { WriteCsvBool(out, flag, leadingComma); },
            [&](uint32_t number) { WriteCsvUnsigned(out, number, leadingComma); },
            [&](int32_t number) { WriteCsvInt(out, number, leadingComma); },
            [&](const Money& money) { WriteCsvMoney(out, money, leadingComma); },
            [&](double number) { WriteCsvDouble(out, number, leadingComma); } });
}

template <typename Fields> void Store(win::Archive& archive, const Fields& fields, const Field<Fields>& field)
{
    VisitValue(fields, field,
        Overloaded { [&](const std::string& text) { WriteArchiveStdString(archive, text); },
            [&](const Money& money) { money.Store(archive); }, [&](auto number) { archive << number; } });
}

template <typename Fields> void Load(win::Archive& archive, Fields& fields, const Field<Fields>& field)
{
    VisitValue(fields, field,
        Overloaded { [&](std::string& text) { ReadArchiveStdString(archive, text); },
            [&](Money& money) { money.Load(archive); }, [&](auto& number) { archive >> number; } });
}

template <typename Fields>
void WriteDispatch(DatabaseRecord& record, bool pendingOnly, std::ostream& out, const Fields& fields,
    const Field<Fields>& field)
{
    const uint16_t id = field.id;
    VisitValue(fields, field,
        Overloaded { [&](const std::string& text) { record.WriteDispatchString(pendingOnly, out, text, id); },
            [&](bool flag) { record.WriteDispatchBool(pendingOnly, out, flag, id); },
            [&](uint32_t number) { record.WriteDispatchUnsigned(pendingOnly, out, number, id); },
            [&](int32_t number) { record.WriteDispatchInt(pendingOnly, out, number, id); },
            [&](const Money& money) { WriteDispatchMoney(record, pendingOnly, out, money, id); },
            [&](double number) { WriteDispatchDouble(record, pendingOnly, out, number, id); } });
}

template <typename Fields>
void ReadDispatch(const DatabaseRecord& record, std::istream& in, Fields& fields, const Field<Fields>& field)
{
    VisitValue(fields, field,
        Overloaded { [&](std::string& text) { record.ReadDispatchString(in, text); },
            [&](bool& flag) { record.ReadDispatchBool(in, flag); },
            [&](uint32_t& number) { record.ReadDispatchUnsigned(in, number); },
            [&](int32_t& number) { record.ReadDispatchInt(in, number); },
            [&](Money& money) { ReadDispatchMoney(record, in, money); },
            [&](double& number) { ReadDispatchDouble(record, in, number); } });
}

// The table's rows in field-id order (record messages and archives go by id, files by position).
template <typename Fields, std::size_t N>
constexpr std::array<const Field<Fields>*, N> OrderedById(const std::array<Field<Fields>, N>& table)
{
    std::array<const Field<Fields>*, N> ordered {};
    for (const auto& field : table)
        if (field.id < N)
            ordered[field.id] = &field;
    return ordered;
}

// The row of a field id, or nullptr.
template <typename Fields, std::size_t N>
const Field<Fields>* FindById(const std::array<Field<Fields>, N>& table, uint16_t id)
{
    for (const auto& field : table)
        if (field.id == id)
            return &field;
    return nullptr;
}

} // namespace fieldtable
