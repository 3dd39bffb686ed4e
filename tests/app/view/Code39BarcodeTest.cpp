#include "app/view/Code39TestDecoder.h"

#include "app/view/BarcodeUnitPainter.h"
#include "app/view/Code39Barcode.h"
#include "model/LayoutUnit.h"
#include "platform/gdi/RecordingDeviceContext.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using code39test::Bar;
using code39test::DecodeCode39;
using code39test::kStandard;
using gdi::RecordedFill;
using gdi::RecordingDeviceContext;

TEST(BarcodeText, ReferencesCompressToBase36)
{
    const struct {
        std::string reference;
        std::string text;
    } cases[] = {
        { "1234567890123", "$05O6AQT1" }, // only the first eleven digits count
        { "0", "$00000000" }, { "", "$00000000" }, { "00000000001", "$00000001" },
        { "99999999999", "$19XTF1TR" }, { "999999999999", "$19XTF1TR" },
        { "A", "$0000000H" }, // a letter counts as its distance from '0'
        { "\xFF", "$3W5E11264SGR3" }, // a high byte is negative: -49 modulo 2^64, all digits kept
    };
    for (const auto& c : cases) {
        std::string text = c.reference;
        ReferenceToBarcodeText(text);
        EXPECT_EQ(text, c.text) << c.reference;
    }
}

// The patterns against the standard's own table of bars and spaces.
TEST(Code39Patterns, MatchTheStandardTable)
{
    std::set<std::string_view> seen;
    for (const auto& standard : kStandard) {
        const std::string_view pattern = Code39Pattern(standard.character);
        ASSERT_EQ(pattern.size(), 9u) << standard.character;
        std::string bars, spaces;
        int wide = 0;
        for (std::size_t k = 0; k < 9; ++k) {
            const char e = pattern[k];
            EXPECT_EQ(k % 2 == 0, e == 'b' || e == 'B')
                << standard.character << ": bars and spaces alternate, bar first";
            (k % 2 == 0 ? bars : spaces) += (e == 'B' || e == 'W') ? '1' : '0';
            wide += (e == 'B' || e == 'W');
        }
        EXPECT_EQ(wide, 3) << standard.character;
        EXPECT_EQ(bars, standard.bars) << standard.character;
        EXPECT_EQ(spaces, standard.spaces) << standard.character;
        EXPECT_TRUE(seen.insert(pattern).second) << standard.character << " repeats another pattern";
    }
    EXPECT_EQ(seen.size(), 44u);
    EXPECT_EQ(Code39Pattern('*'), "bWbwBwBwb");
    for (char c = 'a'; c <= 'z'; ++c)
        EXPECT_EQ(Code39Pattern(c), Code39Pattern(static_cast<char>(c - 'a' + 'A'))) << c;
    for (char c : { '#', '@', '_', '\0', '\xA9' })
        EXPECT_TRUE(Code39Pattern(c).empty()) << int(c);
}

TEST(Code39Patterns, ElementStringFramesTheTextWithStartStop)
{
    EXPECT_EQ(Code39Elements("0"), "bWbwBwBwbwbwbWBwBwbwbWbwBwBwb");
    // A character outside the table leaves only its narrow gap.
    EXPECT_EQ(Code39Elements("#"), "bWbwBwBwbwwbWbwBwBwb");
    EXPECT_EQ(Code39Elements("abc"), Code39Elements("ABC"));
}

TEST(Code39Painting, OrientationFromTheAngle)
{
    const std::pair<int, int> cases[] = { { 0, 0 }, { 90, 1 }, { 180, 2 }, { 270, 3 }, { 44, 0 }, { 45, 1 },
        { 360, 0 }, { -90, 3 }, { -45, 0 }, { 134, 1 }, { 135, 2 }, { 225, 3 }, { 359, 3 } };
    for (const auto& [angle, orientation] : cases)
        EXPECT_EQ(Code39Orientation(angle), orientation) << angle;
}

// Bars along the direction the code is read, from recorded fills (device pixels, y down).
std::vector<Bar> BarsAlongRun(const std::vector<RecordedFill>& fills, int orientation)
{
    std::vector<Bar> bars;
    for (const auto& fill : fills) {
        const win::RECT& r = fill.call.device;
        switch (orientation) {
        case 0:
            bars.push_back({ r.left, r.right });
            break;
        case 1:
            bars.push_back({ r.top, r.bottom }); // down the page
            break;
        case 2:
            bars.push_back({ -r.right, -r.left }); // to the left
            break;
        default:
            bars.push_back({ -r.bottom, -r.top }); // up the page
            break;
        }
    }
    return bars;
}

// The box a size covers when turned clockwise by quarter turns about its corner (layout axes).
win::RECT TurnedUnitBox(win::POINT p, win::SIZE s, int turns)
{
    switch (turns) {
    case 1:
        return { p.x - s.cy, p.y, p.x, p.y + s.cx };
    case 2:
        return { p.x - s.cx, p.y - s.cy, p.x, p.y };
    case 3:
        return { p.x, p.y - s.cx, p.x + s.cy, p.y };
    default:
        return { p.x, p.y, p.x + s.cx, p.y + s.cy };
    }
}

win::RECT BoundsOf(const std::vector<RecordedFill>& fills)
{
    win::RECT box = fills.at(0).call.device;
    for (const auto& f : fills) {
        box.left = std::min(box.left, f.call.device.left);
        box.top = std::min(box.top, f.call.device.top);
        box.right = std::max(box.right, f.call.device.right);
        box.bottom = std::max(box.bottom, f.call.device.bottom);
    }
    return box;
}

TEST(Code39Painting, NarrowWidthAndCodeLengthForAWideRectangle)
{
    // 600 units for 9 characters: n = 60000 / 176 = 340 hundredths, the code 175 n = 595 units.
    RecordingDeviceContext dc;
    dc.SetMapMode(gdi::MM_LOMETRIC);
    DrawCode39Barcode(dc, { 100, -50, 700, -200 }, "$05O6AQT1", 0, win::RGB(0, 0, 0));
    const auto fills = dc.All<RecordedFill>();
    EXPECT_EQ(BoundsOf(fills), (win::RECT { 100, 50, 695, 200 }));
    EXPECT_EQ(fills.front().call.device.right - fills.front().call.device.left, 3); // narrow start bar: 3.40
    EXPECT_EQ(DecodeCode39(BarsAlongRun(fills, 0)), "$05O6AQT1");
}

TEST(Code39Painting, LowerCaseAndUnknownCharacters)
{
    RecordingDeviceContext lower, upper, hash;
    for (auto* dc : { &lower, &upper, &hash })
        dc->SetMapMode(gdi::MM_LOMETRIC);
    DrawCode39Barcode(lower, { 0, 0, 2000, -100 }, "$ab1", 0, 0);
    DrawCode39Barcode(upper, { 0, 0, 2000, -100 }, "$AB1", 0, 0);
    DrawCode39Barcode(hash, { 0, 0, 2000, -100 }, "A#B", 0, 0);
    EXPECT_EQ(DecodeCode39(BarsAlongRun(lower.All<RecordedFill>(), 0)), "$AB1");
    EXPECT_EQ(DecodeCode39(BarsAlongRun(upper.All<RecordedFill>(), 0)), "$AB1");
    // The hash adds no bars, only one narrow gap, so the two letters' gaps merge into one wider
    // space: the code no longer reads as Code 39, and has just the bars of start, A, B and stop.
    EXPECT_EQ(hash.All<RecordedFill>().size(), 4u * 5u);
}

// The barcode unit of a proof at each quarter turn, decoded back from the drawn bars.
class BarcodeUnitOrientations : public ::testing::TestWithParam<int> { };

TEST_P(BarcodeUnitOrientations, BarsReadBackAndFillTheTurnedUnitBox)
{
    const int turns = GetParam();
    LayoutUnit root;
    root.SetName("Master");
    auto proof = root.AddChild("Port");
    proof->SetPosition({ 800, 900 });
    auto barcode = proof->AddChild("PBarcode");
    barcode->SetPosition({ 0, 0 });
    barcode->SetSize({ 600, 150 });
    barcode->SetQuarterTurns(turns);
    barcode->SetRepeatCount(3); // drawn once all the same

    LayoutConverter converter; // screen at scale 1: device = (x, -y)
    RecordingDeviceContext dc;
    dc.SetMapMode(gdi::MM_LOMETRIC);
    dc.SetBkColor(win::RGB(12, 34, 56));
    DrawBarcodeUnit(converter, *barcode, dc);
    EXPECT_EQ(dc.GetBkColor(), win::RGB(12, 34, 56));

    const auto fills = dc.All<RecordedFill>();
    ASSERT_FALSE(fills.empty());
    for (const auto& f : fills)
        EXPECT_EQ(f.call.color, win::RGB(0, 0, 0));
    EXPECT_EQ(DecodeCode39(BarsAlongRun(fills, turns)), "$05O6AQT1");

    // The unit box turned about the anchor, in device pixels (equal to layout units here). The
    // code ends one narrow module (3.40 units) before the far end: the gap after the stop
    // character is not drawn.
    const win::RECT box = TurnedUnitBox({ 800, 900 }, { 600, 150 }, turns);
    win::RECT expected = box;
    switch (turns) {
    case 0:
        expected.right = box.left + 595;
        break;
    case 1:
        expected.bottom = box.top + 595;
        break;
    case 2:
        expected.left = box.right - 595;
        break;
    default:
        expected.top = box.bottom - 595;
        break;
    }
    EXPECT_EQ(BoundsOf(fills), expected);
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, BarcodeUnitOrientations, ::testing::Values(0, 1, 2, 3));

TEST(BarcodeUnit, HiddenUnitDrawsNothing)
{
    LayoutUnit root;
    auto barcode = root.AddChild("GBarcode");
    barcode->SetSize({ 600, 150 });
    root.SetVisible(false);
    RecordingDeviceContext dc;
    DrawBarcodeUnit(LayoutConverter(), *barcode, dc);
    EXPECT_TRUE(dc.Primitives().empty());
}

} // namespace
