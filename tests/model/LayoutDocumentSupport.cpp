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

void AddUnit(Snapshot& fields, const LayoutUnit& unit)
{
    const std::string& n = unit.GetName();
    fields.emplace_back(n + ".Caption", unit.GetCaption());
    fields.emplace_back(n + ".X", Text(unit.GetX()));
    fields.emplace_back(n + ".Y", Text(unit.GetY()));
    fields.emplace_back(n + ".Width", Text(unit.GetWidth()));
    fields.emplace_back(n + ".Height", Text(unit.GetHeight()));
    fields.emplace_back(n + ".RepeatCount", Text(unit.GetRepeatCount()));
    fields.emplace_back(n + ".StepX", Text(unit.GetStepX()));
    fields.emplace_back(n + ".StepY", Text(unit.GetStepY()));
    fields.emplace_back(n + ".SingleOnly", Text(unit.GetSingleOnly()));
    fields.emplace_back(n + ".Visible", Text(unit.GetVisible()));
    fields.emplace_back(n + ".Alignment", Text(unit.GetAlignment()));
    fields.emplace_back(n + ".ImageFlag", Text(unit.GetImageFlag()));
    fields.emplace_back(n + ".QuarterTurns", Text(unit.GetQuarterTurns()));
    fields.emplace_back(n + ".FontSize", Text(unit.GetFontSize()));
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
    const PaperSpecs& paper = layout.GetPaper();
    Snapshot fields {
        { "LayoutType", Text(layout.GetLayoutType()) },
        { "PaperType", Text(paper.GetPaperType()) },
        { "PaperHeight", Text(paper.GetPaperHeight()) },
        { "PaperWidth", Text(paper.GetPaperWidth()) },
        { "MarginLeft", Text(paper.GetMarginLeft()) },
        { "MarginRight", Text(paper.GetMarginRight()) },
        { "MarginTop", Text(paper.GetMarginTop()) },
        { "MarginBottom", Text(paper.GetMarginBottom()) },
        { "Portrait", Text(paper.GetPortrait()) },
        { "BackgroundImage", layout.GetBackgroundImage() },
        { "BackgroundPOD", Text(layout.GetBackgroundPOD()) },
        { "PrintMainImage", Text(layout.GetPrintMainImage()) },
        { "OverprintCopyright", Text(layout.GetOverprintCopyright()) },
        { "OverprintWord", layout.GetOverprintWord() },
        { "OverprintColour", layout.GetOverprintColour() },
        { "OverprintDiagonal", Text(layout.GetOverprintDiagonal()) },
        { "OverprintDiagWidth", Text(layout.GetOverprintDiagWidth()) },
    };
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
