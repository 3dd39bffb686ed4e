#include "model/Layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using win::POINT;
using win::SIZE;

// One unit as the proof-type tables give it, in tree order (a unit, then its children's subtrees).
struct ExpectedUnit {
    std::string name;
    std::string parent;
    POINT absolute;
    SIZE size;
    uint32_t repeat;
    POINT step;
    int32_t alignment;
    uint32_t font;
    bool image;
};

const ExpectedUnit master { "Master", "", { 0, 0 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false };

std::vector<ExpectedUnit> WithExtraTexts(std::vector<ExpectedUnit> units)
{
    for (int n = 1; n <= 8; ++n)
        units.push_back({ "ExtraTxt" + std::to_string(n), "Master", { 100 * n, 100 * n }, { 0, 0 }, 1,
            { 0, 0 }, 0, 110, false });
    return units;
}

const std::vector<ExpectedUnit> portraitUnits = {
    { "Port", "Master", { 50, 150 }, { 0, 0 }, 1, { 0, 850 }, 0, 100, false },
    { "PImage", "Port", { 80, 180 }, { 630, 780 }, 1, { 0, 0 }, 0, 100, true },
    { "PBarcode", "Port", { 750, 180 }, { 600, 145 }, 1, { 0, 0 }, 0, 100, false },
    { "PRefBoxes", "Port", { 1520, 200 }, { 0, 0 }, 4, { 100, 0 }, 0, 80, false },
    { "PPacks", "Port", { 950, 390 }, { 0, 0 }, 1, { 0, 62 }, 0, 80, false },
    { "PDescription", "PPacks", { 950, 390 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
    { "PPrice", "PPacks", { 1800, 390 }, { 0, 0 }, 1, { 0, 0 }, 2, 80, false },
};

std::vector<ExpectedUnit> Expected(int type)
{
    std::vector<ExpectedUnit> units { master };
    if (type == 0 || type == 2)
        units.insert(units.end(), portraitUnits.begin(), portraitUnits.end());
    if (type == 1) {
        units.insert(units.end(),
            {
                { "Group", "Master", { 50, 150 }, { 0, 0 }, 1, { 0, 850 }, 0, 100, false },
                { "GImage", "Group", { 1610, 110 }, { 1267, 680 }, 1, { 0, 0 }, 0, 100, true },
                { "GBarcode", "Group", { 150, 1330 }, { 600, 145 }, 1, { 0, 0 }, 0, 100, false },
                { "GRefBoxes", "Group", { 150, 1190 }, { 0, 0 }, 4, { 200, 0 }, 0, 80, false },
                { "GPacks", "Group", { 1050, 1250 }, { 0, 0 }, 1, { 0, 82 }, 0, 80, false },
                { "GDescription", "GPacks", { 1050, 1250 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
                { "GPrice", "GPacks", { 1650, 1250 }, { 0, 0 }, 1, { 0, 0 }, 2, 100, false },
            });
    }
    if (type == 2) {
        units.insert(units.end(),
            {
                { "CombinedGroup", "Master", { 50, 1000 }, { 0, 0 }, 1, { 0, 1000 }, 0, 100, false },
                { "CGImage", "CombinedGroup", { 80, 1180 }, { 780, 630 }, 1, { 0, 0 }, 0, 100, true },
                { "CGPacks", "CombinedGroup", { 950, 1390 }, { 0, 0 }, 1, { 0, 62 }, 0, 80, false },
                { "CGDescription", "CGPacks", { 950, 1390 }, { 0, 0 }, 1, { 0, 0 }, 0, 100, false },
                { "CGPrice", "CGPacks", { 1850, 1390 }, { 0, 0 }, 1, { 0, 0 }, 2, 100, false },
            });
    }
    return WithExtraTexts(units);
}

void CollectInTreeOrder(const LayoutUnit& unit, std::vector<const LayoutUnit*>& out)
{
    out.push_back(&unit);
    for (const auto& child : unit.GetChildren())
        CollectInTreeOrder(*child, out);
}

class DefaultTree : public ::testing::TestWithParam<int> { };

TEST_P(DefaultTree, EveryUnitAsTheTablesGiveIt)
{
    const int type = GetParam();
    Layout layout;
    layout.SetLayoutType(type);
    ASSERT_EQ(layout.GetLayoutType(), type);

    std::vector<const LayoutUnit*> units;
    CollectInTreeOrder(*layout.GetRootUnit(), units);
    const std::vector<ExpectedUnit> expected = Expected(type);
    ASSERT_EQ(units.size(), expected.size());
    EXPECT_EQ(layout.GetRootUnit()->CountUnits(), static_cast<int>(expected.size()));

    for (std::size_t i = 0; i < expected.size(); ++i) {
        const LayoutUnit& unit = *units[i];
        const ExpectedUnit& e = expected[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(unit.GetName(), e.name);
        EXPECT_EQ(unit.GetCaption(), e.name);
        EXPECT_EQ(unit.GetParent() ? unit.GetParent()->GetName() : "", e.parent);
        EXPECT_EQ(unit.GetAbsolutePosition(), e.absolute);
        EXPECT_EQ((SIZE { unit.GetWidth(), unit.GetHeight() }), e.size);
        EXPECT_EQ(unit.GetItemSize(), e.size);
        EXPECT_EQ(unit.GetRepeatCount(), e.repeat);
        EXPECT_EQ(unit.GetStep(), e.step);
        EXPECT_EQ(unit.GetAlignment(), e.alignment);
        EXPECT_EQ(unit.GetFontSize(), e.font);
        EXPECT_EQ(unit.GetImageFlag(), e.image);
        EXPECT_TRUE(unit.GetVisible());
        EXPECT_EQ(unit.GetQuarterTurns(), 0);
        EXPECT_FALSE(unit.GetSingleOnly());
    }
}

INSTANTIATE_TEST_SUITE_P(ProofTypes, DefaultTree, ::testing::Values(0, 1, 2, 7, -1));

TEST(Layout, NewLayoutIsAPortraitWithItsDefaults)
{
    const Layout layout;
    EXPECT_EQ(layout.GetLayoutType(), 0);
    EXPECT_EQ(layout.GetRootUnit()->CountUnits(), 16);
    EXPECT_EQ(layout.GetBackgroundImage(), "");
    EXPECT_TRUE(layout.GetBackgroundPOD());
    EXPECT_FALSE(layout.GetPrintMainImage());
    EXPECT_FALSE(layout.GetOverprintCopyright());
    EXPECT_EQ(layout.GetOverprintWord(), "Proof");
    EXPECT_EQ(layout.GetOverprintColour(), "FFFFFF");
    EXPECT_TRUE(layout.GetOverprintDiagonal());
    EXPECT_EQ(layout.GetOverprintDiagWidth(), 5u);
    EXPECT_FALSE(layout.IsLoaded());
}

TEST(Layout, SameTypeKeepsTheTreeAnotherTypeRebuildsIt)
{
    Layout layout;
    LayoutUnit* image = layout.GetRootUnit()->FindByName("PImage");
    image->MoveBy({ 10, 20 });
    layout.GetRootUnit()->FindByName("ExtraTxt5")->SetVisible(false);
    layout.SetBackgroundImage("back.jpg");

    layout.SetLayoutType(0);
    EXPECT_EQ(layout.GetRootUnit()->FindByName("PImage"), image);
    EXPECT_EQ(image->GetAbsolutePosition(), (POINT { 90, 200 }));

    layout.SetLayoutType(1);
    EXPECT_EQ(layout.GetRootUnit()->FindByName("PImage"), nullptr);
    EXPECT_TRUE(layout.GetRootUnit()->FindByName("ExtraTxt5")->GetVisible());
    EXPECT_EQ(layout.GetBackgroundImage(), "back.jpg");
}

TEST(Layout, LegacyFontSizesGoToTheirUnitsAndMissingUnitsAreSkipped)
{
    const struct {
        const char* unit;
        uint32_t font;
    } expected[] = { { "PBarcode", 11 }, { "PRefBoxes", 22 }, { "PPrice", 22 }, { "CGPrice", 22 },
        { "ExtraTxt1", 33 }, { "ExtraTxt2", 33 }, { "ExtraTxt3", 110 }, { "PDescription", 44 },
        { "CGDescription", 44 }, { "PImage", 100 }, { "PPacks", 80 }, { "Master", 100 } };
    Layout layout;
    layout.SetLayoutType(2);
    layout.ApplyLegacyFontSizes(11, 22, 33, 44);
    for (const auto& e : expected)
        EXPECT_EQ(layout.GetRootUnit()->FindByName(e.unit)->GetFontSize(), e.font) << e.unit;
}

TEST(Layout, HideLateExtraTextsHidesThreeToEight)
{
    Layout layout;
    layout.HideLateExtraTexts();
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(layout.GetRootUnit()->FindByName("ExtraTxt" + std::to_string(n))->GetVisible(), n <= 2)
            << n;
}

} // namespace
