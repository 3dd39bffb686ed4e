// The legacy order-form template: settings read by name, the units of the current layout placed
// from them, and bad lines skipped without touching the other settings.
#include "model/LegacyOrderForm.h"
#include "UnexpectedModals.h"
#include "model/Layout.h"
#include "model/LayoutDocumentSupport.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "records/DataVersion.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

using namespace layoutdoc_test;

namespace {

class LegacyOrderFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
        SavedDataVersion = 1.5; // a template read leaves it at 0
    }
    void TearDown() override
    {
        ExpectNoUnexpectedModals();
        win::AppContext::Instance().Reset();
    }

    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
};

// Where a unit ends up: its absolute position, size, repeat, step, visibility, font and image flag.
struct Placement {
    const char* unit;
    int32_t x, y;
    int32_t width, height;
    uint32_t repeat;
    int32_t stepX, stepY;
    bool visible;
    uint32_t font;
    bool image;
};

void ExpectPlacements(const Layout& layout, const std::vector<Placement>& expected)
{
    for (const Placement& p : expected) {
        SCOPED_TRACE(p.unit);
        const LayoutUnit& unit = UnitNamed(layout, p.unit);
        const win::POINT at = unit.GetAbsolutePosition(0);
        EXPECT_EQ(at.x, p.x);
        EXPECT_EQ(at.y, p.y);
        EXPECT_EQ(unit.GetWidth(), p.width);
        EXPECT_EQ(unit.GetHeight(), p.height);
        EXPECT_EQ(unit.GetItemWidth(), p.width);
        EXPECT_EQ(unit.GetItemHeight(), p.height);
        EXPECT_EQ(unit.GetRepeatCount(), p.repeat);
        EXPECT_EQ(unit.GetStepX(), p.stepX);
        EXPECT_EQ(unit.GetStepY(), p.stepY);
        EXPECT_EQ(unit.GetVisible(), p.visible);
        EXPECT_EQ(unit.GetFontSize(), p.font);
        EXPECT_EQ(unit.GetImageFlag(), p.image);
    }
}

// Moves, hides and resizes every unit, so that each placement must come from the template.
void Disturb(Layout& layout)
{
    layout.SetBackgroundPOD(true);
    layout.GetPaper().SetPortrait(layout.GetLayoutType() == 1);
    std::vector<LayoutUnit*> units { layout.GetRootUnit().get() };
    for (std::size_t i = 0; i < units.size(); ++i) {
        for (const auto& child : units[i]->GetChildren())
            units.push_back(child.get());
        if (i == 0)
            continue;
        LayoutUnit& unit = *units[i];
        unit.SetX(unit.GetX() + 333);
        unit.SetY(unit.GetY() - 444);
        unit.SetVisible(false);
        unit.SetRepeatCount(9);
        unit.SetStep({ 7, 7 });
        unit.SetFontSize(1);
    }
}

} // namespace

TEST_F(LegacyOrderFormTest, PortraitTemplatePlacesThePortraitUnits)
{
    Layout layout;
    Disturb(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-portrait.txt")));
    EXPECT_TRUE(modal->Messages().empty());
    EXPECT_TRUE(layout.IsLoaded());
    EXPECT_EQ(layout.GetModifiedMask(), 0u);
    EXPECT_DOUBLE_EQ(SavedDataVersion, 0.0);
    EXPECT_FALSE(layout.GetBackgroundPOD());
    EXPECT_TRUE(layout.GetPaper().GetPortrait());
    EXPECT_EQ(layout.GetLayoutType(), 0);
    ExpectPlacements(layout,
        {
            // unit           x     y     w    h  rep stepX stepY visible font image
            { "Port", 50, 150, 0, 0, 3, 0, 900, true, 1, false },
            { "PImage", 60, 170, 640, 790, 9, 7, 7, true, 1, true },
            { "PBarcode", 700, 40, 600, 145, 9, 7, 7, true, 25, false },
            { "PRefBoxes", 1500, 210, 0, 0, 9, 120, 0, true, 90, false },
            { "PPacks", 960, 400, 0, 0, 9, 0, 64, true, 1, false },
            { "PDescription", 960, 400, 0, 0, 9, 7, 7, true, 85, false },
            { "PPrice", 1900, 400, 0, 0, 9, 7, 7, true, 90, false },
            { "ExtraTxt1", 100, 1000, 0, 0, 9, 7, 7, true, 70, false },
            { "ExtraTxt2", 50, 50, 0, 0, 9, 7, 7, false, 70, false },
            { "ExtraTxt3", 633, -144, 0, 0, 9, 7, 7, false, 1, false },
        });
}

TEST_F(LegacyOrderFormTest, GroupTemplatePlacesTheGroupUnitsInLandscape)
{
    Layout layout;
    layout.SetLayoutType(1);
    Disturb(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-group.txt")));
    EXPECT_FALSE(layout.GetPaper().GetPortrait());
    EXPECT_EQ(layout.GetLayoutType(), 1);
    ExpectPlacements(layout,
        {
            { "Group", 50, 150, 0, 0, 1, 0, 0, true, 1, false },
            { "GImage", 1600, 120, 1200, 700, 9, 7, 7, true, 1, true },
            { "GBarcode", 150, 1320, 600, 145, 9, 7, 7, true, 30, false },
            { "GRefBoxes", 160, 1180, 0, 0, 9, 210, 0, true, 100, false },
            { "GPacks", 1060, 1240, 0, 0, 9, 0, 84, true, 1, false },
            { "GDescription", 1060, 1240, 0, 0, 9, 7, 7, true, 90, false },
            { "GPrice", 1700, 1240, 0, 0, 9, 7, 7, true, 100, false },
            { "ExtraTxt1", 150, 1800, 0, 0, 9, 7, 7, true, 75, false },
            { "ExtraTxt2", 50, 50, 0, 0, 9, 7, 7, false, 75, false },
        });
}

// A combined layout takes the portrait settings for its portrait part and the combined ones for
// its group part; the portrait template leaves those 0, which hides the group image and texts.
TEST_F(LegacyOrderFormTest, CombinedLayoutPlacesItsGroupPartBelowThePortrait)
{
    Layout layout;
    layout.SetLayoutType(2);
    Disturb(layout);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-portrait.txt")));
    EXPECT_TRUE(layout.GetPaper().GetPortrait());
    ExpectPlacements(layout,
        {
            { "PImage", 60, 170, 640, 790, 9, 7, 7, true, 1, true },
            { "CombinedGroup", 50, 1010, 0, 0, 1, 0, 0, true, 1, false },
            { "CGImage", 0, 0, 0, 0, 9, 7, 7, false, 1, true },
            { "CGPacks", 960, 0, 0, 0, 9, 0, 64, true, 1, false },
            { "CGDescription", 960, 0, 0, 0, 9, 7, 7, false, 85, false },
            { "CGPrice", 1900, 0, 0, 0, 9, 7, 7, false, 90, false },
            { "ExtraTxt1", 100, 1000, 0, 0, 9, 7, 7, true, 70, false },
        });
}

TEST_F(LegacyOrderFormTest, BadKeyIsReportedOnceAndChangesNothing)
{
    Layout layout;
    modal->AnswerNext(win::IDOK);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-bad-key.txt")));
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text,
        "Ignoring bad key \"PortraitOrderRefBox5\" found in order form template file");
    EXPECT_EQ(modal->Messages()[0].flags, win::MB_OK);
    EXPECT_EQ(UnitNamed(layout, "PRefBoxes").GetFontSize(), 95u);
    EXPECT_EQ(UnitNamed(layout, "PRefBoxes").GetStepX(), 0); // RefBox1 and 2 stay 0
}

// The blank line at the end has no key: it stores nothing, so the last setting keeps its value.
TEST_F(LegacyOrderFormTest, TrailingBlankLineStoresNothing)
{
    Layout layout;
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-trailing-blank.txt")));
    EXPECT_EQ(UnitNamed(layout, "PBarcode").GetFontSize(), 25u);
    EXPECT_EQ(UnitNamed(layout, "PImage").GetWidth(), 640);
    EXPECT_TRUE(UnitNamed(layout, "PImage").GetVisible());
}

// Each template starts from empty settings: what the second one omits is 0, not the first one's.
TEST_F(LegacyOrderFormTest, SecondTemplateDoesNotInheritTheFirst)
{
    Layout layout;
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-portrait.txt")));
    ASSERT_EQ(UnitNamed(layout, "PImage").GetWidth(), 640);
    ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-partial.txt")));
    const LayoutUnit& image = UnitNamed(layout, "PImage");
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_FALSE(image.GetVisible());
    EXPECT_EQ(image.GetAbsolutePosition(0).y, 300);
    EXPECT_EQ(UnitNamed(layout, "PBarcode").GetFontSize(), 40u);
    EXPECT_EQ(UnitNamed(layout, "PRefBoxes").GetFontSize(), 0u);
}

// Lines that do not hold a key and a number store nothing, and leave the other lines intact.
TEST_F(LegacyOrderFormTest, SettingLinesTable)
{
    struct Case {
        const char* text; // the lines after the first
        std::map<std::size_t, int32_t> expected; // settings by index; the others are 0
    };
    const Case cases[] = {
        { "\"1.3\",\"OrderTextPoint\",\"90\"\r\n\"1.3\",\"OrderSmallTextPoint\",\"big\"\r\n", { { 1, 90 } } },
        { "\"1.3\",\"OrderTextPoint\",\"90\"\r\n\"1.3\",\"OrderSmallTextPoint\"", { { 1, 90 } } },
        { "\"1.3\",\"OrderTextPoint\",\"90\"\r\n\"1.3\",\"OrderSmallTextPoint\"\r\n\"1.3\","
          "\"OrderBarcodePoint\",\"7\"",
            { { 1, 90 }, { 0, 7 } } },
        { "\"1.3\",\"OrderTextPoint\",\"90\",\"extra\"\r\n\"1.3\",\"OrderSmallTextPoint\",\"70\"\r\n",
            { { 1, 90 }, { 2, 70 } } },
        { "\r\n\r\n\"1.3\",\"OrderTextPoint\",\"90\"\r\n\r\n", { { 1, 90 } } },
        { "1.3,OrderTextPoint,90\n1.3,OrderTextPoint,91\n", { { 1, 91 } } },
        { "1.3,CombinedOrderLandscape,1\r1.3,GroupOrderPrintWidth,(1200)\r", { { 52, 1 }, { 26, -1200 } } },
        { "1.3,OrderTextPoint,\r\n", {} },
        { "", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::istringstream in(c.text);
        const OrderFormSettings settings = ReadOrderFormTemplateValues(in);
        for (std::size_t i = 0; i < settings.size(); ++i) {
            const auto found = c.expected.find(i);
            EXPECT_EQ(settings[i], found == c.expected.end() ? 0 : found->second) << OrderFormSettingNames[i];
        }
        EXPECT_DOUBLE_EQ(SavedDataVersion, 0.0);
    }
    EXPECT_TRUE(modal->Messages().empty());
}

// A key names a setting only when it is the name exactly: another case, a blank more or less, a
// prefix or an extension is a bad key, shown with the key as read, and stores nothing anywhere.
TEST_F(LegacyOrderFormTest, OnlyTheExactNameIsAKey)
{
    for (const char* key : { "orderTextPoint", "ORDERTEXTPOINT", "OrderTextPoint ", " OrderTextPoint",
             "OrderTextPoin", "OrderTextPointX", "" }) {
        SCOPED_TRACE(key);
        auto modal = std::make_shared<win::ScriptedModalServices>();
        win::AppContext::Instance().SetModalServices(modal);
        modal->AnswerNext(win::IDOK);
        std::istringstream in(
            std::string("\"1.3\",\"") + key + "\",\"77\"\r\n\"1.3\",\"OrderTextPoint\",\"5\"\r\n");
        const OrderFormSettings settings = ReadOrderFormTemplateValues(in);
        ASSERT_EQ(modal->Messages().size(), 1u);
        EXPECT_EQ(modal->Messages()[0].text,
            std::string("Ignoring bad key \"") + key + "\" found in order form template file");
        for (std::size_t i = 0; i < settings.size(); ++i)
            EXPECT_EQ(settings[i], i == 1 ? 5 : 0) << OrderFormSettingNames[i];
    }
}

// The message belongs to the unknown key whatever follows it: a value that is not a number, no
// value before the line ends, or the end of the file.
TEST_F(LegacyOrderFormTest, BadKeyIsReportedWhateverItsValue)
{
    for (const char* line :
        { "\"1.5\",\"NoSuchKey\",\"abc\"\r\n", "\"1.5\",\"NoSuchKey\"\r\n", "\"1.5\",\"NoSuchKey\"",
            "\"1.5\",\"NoSuchKey\",\r\n", "\"1.5\",\"NoSuchKey\",\"12\",\"x\"\r\n" }) {
        SCOPED_TRACE(line);
        auto modal = std::make_shared<win::ScriptedModalServices>();
        win::AppContext::Instance().SetModalServices(modal);
        modal->AnswerNext(win::IDOK);
        std::istringstream in("\"1.5\",\"OrderTextPoint\",\"5\"\r\n" + std::string(line));
        const OrderFormSettings settings = ReadOrderFormTemplateValues(in);
        ASSERT_EQ(modal->Messages().size(), 1u);
        EXPECT_EQ(
            modal->Messages()[0].text, "Ignoring bad key \"NoSuchKey\" found in order form template file");
        for (std::size_t i = 0; i < settings.size(); ++i)
            EXPECT_EQ(settings[i], i == 1 ? 5 : 0) << OrderFormSettingNames[i];
    }
}

// The first ten unknown keys of a file are shown one by one; the rest in one further message, after
// the file has been read. Known keys among them are stored as usual.
TEST_F(LegacyOrderFormTest, BadKeysBeyondTheTenthAreCountedInOneMessage)
{
    struct Case {
        int badKeys;
        const char* summary; // the last message, or nullptr when there is none beyond the ten
    };
    const Case cases[] = {
        { 10, nullptr },
        { 11, "Ignoring 1 more bad keys found in order form template file" },
        { 3000, "Ignoring 2990 more bad keys found in order form template file" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.badKeys);
        auto modal = std::make_shared<win::ScriptedModalServices>();
        win::AppContext::Instance().SetModalServices(modal);
        std::string text;
        for (int k = 0; k < c.badKeys; ++k) {
            text += "\"1.3\",\"Bad" + std::to_string(k) + "\",\"1\"\r\n";
            if (k == c.badKeys / 2)
                text += "\"1.3\",\"OrderTextPoint\",\"90\"\r\n";
        }
        const std::size_t shown = c.summary ? 11 : 10;
        for (std::size_t k = 0; k < shown; ++k)
            modal->AnswerNext(win::IDOK);
        std::istringstream in(text);
        const OrderFormSettings settings = ReadOrderFormTemplateValues(in);
        ASSERT_EQ(modal->Messages().size(), shown);
        for (std::size_t k = 0; k < 10; ++k)
            EXPECT_EQ(modal->Messages()[k].text,
                "Ignoring bad key \"Bad" + std::to_string(k) + "\" found in order form template file");
        if (c.summary) {
            EXPECT_EQ(modal->Messages().back().text, c.summary);
            EXPECT_EQ(modal->Messages().back().flags, win::MB_OK);
        }
        EXPECT_EQ(settings[1], 90);
    }
}

// Only the portrait and combined types turn the paper to portrait, and only the group type to
// landscape; any other type leaves the orientation as it was.
TEST_F(LegacyOrderFormTest, OrientationFollowsTheLayoutType)
{
    for (const int type : { 0, 1, 2, 7 }) {
        for (const bool portrait : { false, true }) {
            SCOPED_TRACE(std::to_string(type) + (portrait ? " portrait" : " landscape"));
            Layout layout;
            layout.SetLayoutType(type);
            layout.GetPaper().SetPortrait(portrait);
            ASSERT_TRUE(ReadFromString(layout, ReadFixture("legacy-portrait.txt")));
            const bool expected = type == 0 || type == 2 ? true : type == 1 ? false : portrait;
            EXPECT_EQ(layout.GetPaper().GetPortrait(), expected);
            EXPECT_EQ(layout.GetLayoutType(), type);
        }
    }
}
