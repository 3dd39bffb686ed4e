// Every field in the tables of the layout, unit and paper records survives every form of its
// record: record messages, archive forms, the document and the copies. The values are set through
// the tables themselves, so a field added to a table is covered by every form at once, and a form
// that forgets one fails here.
#include "SettingsFixture.h"
#include "model/Layout.h"
#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const ReadContext current { CurrentDataVersion };

// A value that differs from the given one; texts gain the characters the forms must quote (a CR LF
// inside quotes reads back as LF, so only LF).
std::string Differ(const std::string& value, int k)
{
    return value + "\"x, " + std::to_string(k) + "\"\n";
}
int32_t Differ(int32_t value, int k)
{
    return value + 1 + k;
}
uint32_t Differ(uint32_t value, int k)
{
    return value + 1 + static_cast<uint32_t>(k);
}
bool Differ(bool value, int)
{
    return !value;
}

template <typename Record> void ChangeEveryField(Record& record)
{
    int k = 0;
    fieldtable::ForEach(
        Record::Fields(), record, [&](const FieldRow<Record>&, auto& value) { value = Differ(value, k++); });
}

std::string Text(const std::string& value)
{
    return value;
}
template <typename T> std::string Text(T value)
{
    return std::to_string(value);
}

template <typename Record> std::string Dump(const Record& record)
{
    std::string dump;
    fieldtable::ForEach(Record::Fields(), record, [&](const FieldRow<Record>& row, const auto& value) {
        dump += std::string(row.label) + "=" + Text(value) + "\n";
    });
    return dump;
}

template <typename Record> struct Form {
    const char* name;
    std::function<void(Record& source, Record& target)> carry;
};

template <typename Record>
void ExpectEveryFieldSurvives(
    const std::function<std::unique_ptr<Record>()>& make, const std::vector<Form<Record>>& forms)
{
    for (const Form<Record>& form : forms) {
        SCOPED_TRACE(form.name);
        const auto source = make();
        ChangeEveryField(*source);
        const auto target = make();
        ASSERT_NE(Dump(*target), Dump(*source));
        form.carry(*source, *target);
        EXPECT_EQ(Dump(*target), Dump(*source));
    }
}

template <typename Record> void CarryMessage(Record& source, Record& target)
{
    std::ostringstream out;
    out << '\x02';
    source.WriteFields(false, out, true);
    std::istringstream in(out.str());
    target.ReadFields(in);
}

template <typename Record> void CarryArchive(Record& source, Record& target)
{
    win::Archive out;
    source.Store(out);
    win::Archive in(out.Bytes());
    target.Load(in, current);
}

template <typename Record> void CarryClone(Record& source, Record& target)
{
    source.Clone(target);
}

class FieldTableForms : public SettingsFixture { };

TEST_F(FieldTableForms, EveryUnitFieldSurvivesEveryForm)
{
    // The archive form and the document line start with the name, which their readers leave to
    // the caller.
    const std::vector<Form<LayoutUnit>> forms = {
        { "record message", CarryMessage<LayoutUnit> },
        { "archive",
            [](LayoutUnit& source, LayoutUnit& target) {
                win::Archive out;
                source.Store(out);
                win::Archive in(out.Bytes());
                target.SetName(in.ReadString());
                target.Load(in, current);
            } },
        { "document line",
            [](LayoutUnit& source, LayoutUnit& target) {
                std::ostringstream out;
                source.WriteCsv(out);
                std::istringstream in(out.str());
                std::string name;
                ReadCsvField(in, name);
                target.SetName(name);
                target.ReadCsv(in, current);
            } },
        { "clone", CarryClone<LayoutUnit> },
        { "copy", [](LayoutUnit& source, LayoutUnit& target) { target.CopyFrom(source); } },
    };
    ExpectEveryFieldSurvives<LayoutUnit>([] { return std::make_unique<LayoutUnit>(nullptr); }, forms);
}

TEST_F(FieldTableForms, EveryPaperFieldSurvivesEveryForm)
{
    const std::vector<Form<PaperSpecs>> forms = {
        { "record message", CarryMessage<PaperSpecs> },
        { "archive", CarryArchive<PaperSpecs> },
        { "document lines",
            [](PaperSpecs& source, PaperSpecs& target) {
                std::ostringstream out;
                source.WriteCsv(out);
                std::istringstream in(out.str());
                target.ReadCsv(in, current);
            } },
        { "clone", CarryClone<PaperSpecs> },
    };
    ExpectEveryFieldSurvives<PaperSpecs>([] { return std::make_unique<PaperSpecs>(0); }, forms);
}

TEST_F(FieldTableForms, EveryLayoutFieldSurvivesEveryForm)
{
    const std::vector<Form<Layout>> forms = {
        { "record message", CarryMessage<Layout> },
        { "archive", CarryArchive<Layout> },
        { "document",
            [](Layout& source, Layout& target) {
                std::ostringstream out;
                source.WriteCsv(out);
                std::istringstream in(out.str());
                target.ReadCsv(in);
            } },
        { "clone", CarryClone<Layout> },
    };
    ExpectEveryFieldSurvives<Layout>([] { return std::make_unique<Layout>(); }, forms);
}

// A message field id without a row would never be written or read; the rows that share an id
// must be a pair of integers, the only value made of two members.
template <typename Record> void ExpectEveryMessageIdHasItsRows()
{
    for (uint16_t id = 0; id < Record::fieldCount; ++id) {
        std::vector<const FieldRow<Record>*> rows;
        for (const FieldRow<Record>& row : Record::Fields()) {
            if (row.id == id)
                rows.push_back(&row);
        }
        ASSERT_FALSE(rows.empty()) << id;
        if (rows.size() > 1) {
            ASSERT_EQ(rows.size(), 2u) << id;
            for (const auto* row : rows)
                EXPECT_TRUE(std::holds_alternative<int32_t Record::*>(row->member)) << row->label;
        }
    }
    for (const FieldRow<Record>& row : Record::Fields())
        EXPECT_LT(row.id, Record::fieldCount) << row.label;
}

TEST(FieldTables, EveryMessageFieldIdHasItsRows)
{
    ExpectEveryMessageIdHasItsRows<Layout>();
    ExpectEveryMessageIdHasItsRows<LayoutUnit>();
    ExpectEveryMessageIdHasItsRows<PaperSpecs>();
}

} // namespace
