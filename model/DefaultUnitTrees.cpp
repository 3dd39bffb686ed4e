#include "model/DefaultUnitTrees.h"

#include <span>
#include <string>

namespace {

// One unit of a default tree. With absolute set, point is the absolute position at which the unit
// is placed (its parent is unturned while the tree is built); else it is X, Y directly.
struct UnitSpec {
    const char* parent;
    const char* name;
    bool absolute;
    win::POINT point;
    win::SIZE size;
    uint32_t repeat;
    win::POINT step;
    int32_t alignment;
    uint32_t font;
    bool image;
};

constexpr UnitSpec portraitUnits[] = {
    { "Master", "Port", true, { 50, 150 }, { 0, 0 }, 1, { 0, 850 }, 0, 100, false },
    { "Port", "PImage", true, { 80, 180 }, { 630, 780 }, 1, { 0, 0 }, 0, 100, true },
    { "Port", "PBarcode", true, { 750, 180 }, { 600, 145 }, 1, { 0, 0 }, 0, 100, false },
    { "Port", "PRefBoxes", true, { 1520, 200 }, { 0, 0 }, 4, { 100, 0 }, 0, 80, false },
    { "Port", "PPacks", true, { 950, 390 }, { 0, 0 }, 1, { 0, 62 }, 0, 80, false },
    { "PPacks", "PDescription", false, { 0, 0 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
    { "PPacks", "PPrice", false, { 850, 0 }, { 0, 0 }, 1, { 0, 0 }, 2, 80, false },
};

constexpr UnitSpec groupUnits[] = {
    { "Master", "Group", true, { 50, 150 }, { 0, 0 }, 1, { 0, 850 }, 0, 100, false },
    { "Group", "GImage", true, { 1610, 110 }, { 1267, 680 }, 1, { 0, 0 }, 0, 100, true },
    { "Group", "GBarcode", true, { 150, 1330 }, { 600, 145 }, 1, { 0, 0 }, 0, 100, false },
    { "Group", "GRefBoxes", true, { 150, 1190 }, { 0, 0 }, 4, { 200, 0 }, 0, 80, false },
    { "Group", "GPacks", true, { 1050, 1250 }, { 0, 0 }, 1, { 0, 82 }, 0, 80, false },
    { "GPacks", "GDescription", false, { 0, 0 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
    { "GPacks", "GPrice", false, { 600, 0 }, { 0, 0 }, 1, { 0, 0 }, 2, 100, false },
};

constexpr UnitSpec combinedGroupUnits[] = {
    { "Master", "CombinedGroup", true, { 50, 1000 }, { 0, 0 }, 1, { 0, 1000 }, 0, 100, false },
    { "CombinedGroup", "CGImage", true, { 80, 1180 }, { 780, 630 }, 1, { 0, 0 }, 0, 100, true },
    { "CombinedGroup", "CGPacks", true, { 950, 1390 }, { 0, 0 }, 1, { 0, 62 }, 0, 80, false },
    { "CGPacks", "CGDescription", false, { 0, 0 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
    { "CGPacks", "CGPrice", false, { 900, 0 }, { 0, 0 }, 1, { 0, 0 }, 2, 100, false },
};

void AddUnits(LayoutUnit& root, std::span<const UnitSpec> units)
{
    for (const UnitSpec& spec : units) {
        LayoutUnit* parent = root.FindByName(spec.parent);
        auto unit = parent->AddChild(spec.name);
        if (spec.absolute)
            unit->SetAbsolutePosition(spec.point);
        else
            unit->SetPosition(spec.point);
        unit->SetSize(spec.size);
        unit->SetRepeatCount(spec.repeat);
        unit->SetStep(spec.step);
        unit->SetAlignment(spec.alignment);
        unit->SetFontSize(spec.font);
        unit->SetImageFlag(spec.image);
    }
}

} // namespace

std::shared_ptr<LayoutUnit> BuildDefaultUnitTree(int32_t layoutType)
{
    auto root = std::make_shared<LayoutUnit>(nullptr);
    root->SetName("Master");
    switch (layoutType) {
    case 0:
        AddUnits(*root, portraitUnits);
        break;
    case 1:
        AddUnits(*root, groupUnits);
        break;
    case 2:
        AddUnits(*root, portraitUnits);
        AddUnits(*root, combinedGroupUnits);
        break;
    default:
        break;
    }
    return root;
}

void AddExtraTextUnits(LayoutUnit& root)
{
    for (int n = 1; n <= 8; ++n) {
        auto unit = root.AddChild("ExtraTxt" + std::to_string(n));
        unit->SetAbsolutePosition({ 100 * n, 100 * n });
        unit->SetFontSize(110);
    }
}
