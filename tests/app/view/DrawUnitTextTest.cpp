#include "app/view/DisplayConverter.h"
#include "model/LayoutUnit.h"
#include "platform/gdi/RecordingDeviceContext.h"

#include <gtest/gtest.h>

namespace {

using gdi::RecordedText;
using gdi::RecordingDeviceContext;
using win::POINT;

constexpr win::SIZE kTextSize { 101, 40 }; // device pixels of every text, whatever it says

// A unit under the root, turned and aligned, drawn at scale 1 on a 254 dpi recording device,
// where a device pixel is a layout unit: pixel (x, y) = layout (x, y).
struct TextFixture {
    LayoutUnit root;
    std::shared_ptr<LayoutUnit> unit;
    RecordingDeviceContext dc;
    LayoutConverter converter;

    TextFixture(int alignment, int turns)
    {
        root.SetName("Master");
        unit = root.AddChild("ExtraTxt1");
        unit->SetPosition({ 1000, 1500 });
        unit->SetQuarterTurns(turns);
        unit->SetAlignment(alignment);
        dc.SetMapMode(gdi::MM_LOMETRIC);
        dc.SetTextMeasurer([](std::string_view, const gdi::DeviceFont&) { return kTextSize; });
    }

    void Draw(const std::string& text, bool reset)
    {
        gdi::CFont font;
        converter.CreateFont(font, unit->GetFontSize(), "Arial", TextEscapement(unit->GetAbsoluteAngle()));
        gdi::CFont* old = dc.SelectObject(&font);
        converter.DrawUnitText(*unit, text, dc, reset, 0);
        dc.SelectObject(old);
        font.DeleteObject();
    }
};

struct AlignmentCase {
    int alignment;
    int turns;
    friend void PrintTo(const AlignmentCase& c, std::ostream* os)
    {
        *os << "alignment " << c.alignment << ", " << c.turns << " quarter turns";
    }
};

class DrawUnitTextCases : public ::testing::TestWithParam<AlignmentCase> { };

TEST_P(DrawUnitTextCases, TextCornersMatchTheUnitBoundsShiftedByTheAlignment)
{
    const auto [alignment, turns] = GetParam();
    TextFixture f(alignment, turns);
    f.Draw("Sample", true);
    const auto texts = f.dc.All<RecordedText>();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font.escapement, (3600 - 900 * turns) % 3600);
    EXPECT_EQ(f.unit->GetItemSize(), kTextSize);

    // The run (101, 0) turned clockwise; centred text starts half of it back, right-aligned all of it.
    const POINT runs[4] = { { 101, 0 }, { 0, 101 }, { -101, 0 }, { 0, -101 } };
    const POINT run = runs[turns];
    const POINT back = alignment == 0 ? POINT {} : alignment == 1 ? POINT { run.x / 2, run.y / 2 } : run;
    win::RECT expected = f.unit->GetBounds(); // the anchor, the item size, the turns
    expected = { expected.left - back.x, expected.top - back.y, expected.right - back.x,
        expected.bottom - back.y };
    EXPECT_EQ(texts[0].DeviceBounds(), expected);
    // The text's own corner (its top-left before turning) is where the run starts.
    EXPECT_EQ(texts[0].deviceOrigin, (POINT { 1000 - back.x, 1500 - back.y }));
}

std::vector<AlignmentCase> AllAlignmentsAndTurns()
{
    std::vector<AlignmentCase> cases;
    for (int a = 0; a <= 2; ++a)
        for (int q = 0; q <= 3; ++q)
            cases.push_back({ a, q });
    return cases;
}

INSTANTIATE_TEST_SUITE_P(
    All, DrawUnitTextCases, ::testing::ValuesIn(AllAlignmentsAndTurns()), [](const auto& info) {
        return "align" + std::to_string(info.param.alignment) + "_turns" + std::to_string(info.param.turns);
    });

TEST(DrawUnitText, CentredTextStartsHalfItsLengthBeforeTheAnchor)
{
    TextFixture plain(1, 0);
    plain.Draw("Sample", true);
    EXPECT_EQ(plain.dc.All<RecordedText>().at(0).deviceOrigin, (POINT { 950, 1500 })); // 50 to the left
    TextFixture turned(1, 1);
    turned.Draw("Sample", true);
    // 50 above the anchor on the page, that is logical device y + 50, running downward.
    EXPECT_EQ(turned.dc.All<RecordedText>().at(0).logicalOrigin, (POINT { 1000, -1500 + 50 }));
}

TEST(DrawUnitText, AlignmentThreeDrawsNothingButGrowsTheItemSize)
{
    TextFixture f(3, 0);
    f.Draw("Sample", true);
    EXPECT_TRUE(f.dc.All<RecordedText>().empty());
    EXPECT_EQ(f.unit->GetItemSize(), kTextSize);
}

TEST(DrawUnitText, ItemSizeGrowsButShrinksOnlyOnReset)
{
    TextFixture f(0, 0);
    int width = 101;
    f.dc.SetTextMeasurer([&width](std::string_view, const gdi::DeviceFont&) {
        return win::SIZE { width, 40 };
    });
    f.Draw("a", true);
    f.Draw("a", false);
    EXPECT_EQ(f.unit->GetItemSize(), (win::SIZE { 101, 40 }));
    width = 150;
    f.Draw("longer", false);
    EXPECT_EQ(f.unit->GetItemSize(), (win::SIZE { 150, 40 }));
    width = 60;
    f.Draw("short", false);
    EXPECT_EQ(f.unit->GetItemSize(), (win::SIZE { 150, 40 }));
    f.Draw("short", true);
    EXPECT_EQ(f.unit->GetItemSize(), (win::SIZE { 60, 40 }));
}

TEST(DrawUnitText, ExtentIsRecordedInLayoutUnitsAtTheDrawingsScale)
{
    TextFixture f(0, 0);
    f.converter.SetScale(2.0);
    f.converter.SetOffsetX(30);
    f.Draw("Sample", true);
    const auto text = f.dc.All<RecordedText>().at(0);
    EXPECT_EQ(text.logicalOrigin, (POINT { 2030, -3000 }));
    EXPECT_EQ(text.font.height, -70); // 10 points at twice the size
    EXPECT_EQ(f.unit->GetItemSize(), (win::SIZE { 50, 20 }));
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
}

} // namespace
