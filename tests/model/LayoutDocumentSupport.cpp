#include "model/LayoutDocumentSupport.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace layoutdoc_test {

std::string ReadFixture(std::string_view name)
{
    const std::string path = std::string(ORVANEL_TEST_DATA) + "/layoutdoc/" + std::string(name);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing fixture " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteToString(const Layout& layout)
{
    std::ostringstream out;
    if (!layout.WriteCsv(out))
        throw std::runtime_error("writing to a string failed");
    return out.str();
}

bool ReadFromString(Layout& layout, const std::string& text)
{
    std::istringstream in(text);
    return layout.ReadCsv(in);
}

namespace {

std::string Text(const std::string& value)
{
    return value;
}
std::string Text(bool value)
{
    return value ? "1" : "0";
}
std::string Text(int32_t value)
{
    return std::to_string(value);
}
std::string Text(uint32_t value)
{
    return std::to_string(value);
}

// The fields of the table's rows, labelled with the prefix and the row's label.
template <typename Record>
void AddFields(
    Snapshot& fields, FieldTable<Record> rows, const Record& record, const std::string& prefix = "")
{
    fieldtable::ForEach(rows, record, [&](const FieldRow<Record>& row, const auto& value) {
        fields.emplace_back(prefix + std::string(row.label), Text(value));
    });
}

// Each unit's fields after its name, then its children's.
void AddUnit(Snapshot& fields, const LayoutUnit& unit)
{
    AddFields(fields, LayoutUnit::Fields().subspan(1), unit, unit.GetName() + ".");
    for (const auto& child : unit.GetChildren())
        AddUnit(fields, *child);
}

void ForEachUnit(LayoutUnit& unit, const std::function<void(LayoutUnit&)>& action)
{
    action(unit);
    for (const auto& child : unit.GetChildren())
        ForEachUnit(*child, action);
}

} // namespace

Snapshot StoredFields(const Layout& layout)
{
    Snapshot fields;
    AddFields(fields, Layout::Fields().first(1), layout);
    AddFields(fields, PaperSpecs::Fields(), layout.GetPaper());
    AddFields(fields, Layout::Fields().subspan(1), layout);
    AddUnit(fields, *layout.GetRootUnit());
    return fields;
}

std::map<std::string, std::string> FieldMap(const Layout& layout)
{
    const Snapshot fields = StoredFields(layout);
    std::map<std::string, std::string> map(fields.begin(), fields.end());
    ForEachUnit(*layout.GetRootUnit(), [&](LayoutUnit& unit) {
        map[unit.GetName() + ".ItemWidth"] = Text(unit.GetItemWidth());
        map[unit.GetName() + ".ItemHeight"] = Text(unit.GetItemHeight());
    });
    return map;
}

LayoutUnit& UnitNamed(const Layout& layout, const std::string& name)
{
    LayoutUnit* unit = layout.GetRootUnit()->FindByName(name);
    if (!unit)
        throw std::runtime_error("no unit named " + name);
    return *unit;
}

void ChangeEveryStoredField(Layout& layout, int seed)
{
    const std::string tag = std::to_string(seed);
    PaperSpecs& paper = layout.GetPaper();
    paper.SelectPaper(paper.GetPaperType() == 4 ? 7 : 4);
    // Absolute margins: a layout's margins carry over to the next one through the settings.
    paper.SetMarginLeft(paper.GetMarginLeft() == 41 + seed ? 40 : 41 + seed);
    paper.SetMarginRight(paper.GetMarginRight() == 52 + seed ? 50 : 52 + seed);
    paper.SetMarginTop(paper.GetMarginTop() == -13 - seed ? 13 : -13 - seed);
    paper.SetMarginBottom(paper.GetMarginBottom() == 64 + seed ? 60 : 64 + seed);
    paper.SetPortrait(!paper.GetPortrait());
    layout.SetBackgroundImage(layout.GetBackgroundImage() + "bg" + tag + ".jpg");
    layout.SetBackgroundPOD(!layout.GetBackgroundPOD());
    layout.SetPrintMainImage(!layout.GetPrintMainImage());
    layout.SetOverprintCopyright(!layout.GetOverprintCopyright());
    layout.SetOverprintWord(layout.GetOverprintWord() + "w" + tag);
    layout.SetOverprintColour(layout.GetOverprintColour() == "12AB34" ? "FFFFFF" : "12AB34");
    layout.SetOverprintDiagonal(!layout.GetOverprintDiagonal());
    layout.SetOverprintDiagWidth(layout.GetOverprintDiagWidth() + 3 + static_cast<uint32_t>(seed));

    int32_t k = 1000 + seed * 100;
    ForEachUnit(*layout.GetRootUnit(), [&](LayoutUnit& unit) {
        k += 17;
        unit.SetCaption(unit.GetCaption() + " c" + std::to_string(k));
        unit.SetPosition({ unit.GetX() - k, unit.GetY() + k + 1 });
        unit.SetSize({ unit.GetWidth() + k + 2, unit.GetHeight() + k + 3 });
        unit.SetRepeatCount(unit.GetRepeatCount() + static_cast<uint32_t>(k) + 4);
        unit.SetStep({ unit.GetStepX() - k - 5, unit.GetStepY() + k + 6 });
        unit.SetSingleOnly(!unit.GetSingleOnly());
        unit.SetVisible(!unit.GetVisible());
        unit.SetAlignment(unit.GetAlignment() + 1 + k % 2);
        unit.SetImageFlag(!unit.GetImageFlag());
        unit.SetQuarterTurns((unit.GetQuarterTurns() + 1 + k % 3) % 4);
        unit.SetFontSize(unit.GetFontSize() + static_cast<uint32_t>(k) + 7);
    });
}

} // namespace layoutdoc_test
