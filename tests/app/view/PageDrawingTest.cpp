#include "PaintTestSupport.h"

#include "app/view/ImageUnitPainter.h"
#include "app/view/MoveBounds.h"
#include "app/view/ProofLoops.h"
#include "app/view/RefBoxesUnitPainter.h"
#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"
#include "qt/QtTestSupport.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <ostream>

namespace {

using gdi::RecordedDib;
using gdi::RecordedFill;
using gdi::RecordedLine;
using gdi::RecordedText;
using painttest::MakePicture;
using painttest::PageFixture;

constexpr char kBackground[] = "/samples/background.jpg";

std::vector<std::string> TextsOf(const gdi::RecordingDeviceContext& dc)
{
    std::vector<std::string> texts;
    for (const RecordedText& text : dc.All<RecordedText>())
        texts.push_back(text.text);
    return texts;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// --- the background

TEST(PageBackground, FirstDrawingTrimsTheLoadedPictureToThePrintableAreaOnce)
{
    PageFixture f(3);
    f.pictures.files[kBackground] = MakePicture(2480, 3508, 300);
    f.layout->SetBackgroundImage(kBackground);
    f.DrawScreen();
    // Printable 2040 x 2910 at 300 dpi: excesses 71 and 71, cut to (35, 35)-(2445, 3473).
    EXPECT_EQ(f.pictures.files[kBackground]->GetSize(), PLCoord(2410, 3438));
    const auto dibs = f.dc.All<RecordedDib>();
    ASSERT_EQ(dibs.size(), 1u);
    EXPECT_EQ(dibs[0].call.logicalX, 30);
    EXPECT_EQ(dibs[0].call.logicalY, -30);
    EXPECT_EQ(dibs[0].call.logicalWidth, 2040);
    EXPECT_EQ(dibs[0].call.logicalHeight, -2910);
    f.DrawScreen(); // now in the cache: no second trim
    EXPECT_EQ(f.pictures.files[kBackground]->GetSize(), PLCoord(2410, 3438));
}

// Notes the cursor each time a picture is asked for.
class CursorNotingPictures : public painttest::FakePictures {
public:
    Picture GetImage(const std::string& path, ImageResult& result) override
    {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        cursors.push_back(cursor != nullptr ? cursor->shape() : Qt::ArrowCursor);
        return FakePictures::GetImage(path, result);
    }
    std::vector<Qt::CursorShape> cursors;
};

TEST(PageBackground, TheWaitCursorShowsWhileAnUncachedBackgroundLoads)
{
    qttest::EnsureApplication();
    PageFixture f(3);
    CursorNotingPictures pictures;
    pictures.files[kBackground] = MakePicture(248, 350, 30);
    f.layout->SetBackgroundImage(kBackground);
    const win::SIZE page { f.layout->GetPaper().GetPaperWidth(), f.layout->GetPaper().GetPaperHeight() };
    for (int drawing = 0; drawing < 2; ++drawing)
        DrawPage(f.dc, { *f.layout, f.content, pictures, f.copies, 1.0, page, page, nullptr, &f.packs });
    // Loaded on the first drawing, from the cache on the second; the cursor is back after each.
    EXPECT_EQ(pictures.cursors, (std::vector { Qt::WaitCursor, Qt::ArrowCursor }));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

struct MarginCase {
    int32_t left, right, top, bottom;
    friend void PrintTo(const MarginCase& c, std::ostream* os)
    {
        *os << "margins " << c.left << ", " << c.right << ", " << c.top << ", " << c.bottom;
    }
};

class BackgroundMarginCases : public ::testing::TestWithParam<MarginCase> { };

// Margins that meet or pass the paper leave no printable area: the picture is not cut (the
// literal trim cuts it to a zero-width strip).
TEST_P(BackgroundMarginCases, NoPrintableAreaLeavesThePictureWhole)
{
    const MarginCase& c = GetParam();
    PageFixture f(3);
    f.pictures.files[kBackground] = MakePicture(248, 350, 30);
    f.layout->SetBackgroundImage(kBackground);
    PaperSpecs& paper = f.layout->GetPaper();
    paper.SetMarginLeft(c.left);
    paper.SetMarginRight(c.right);
    paper.SetMarginTop(c.top);
    paper.SetMarginBottom(c.bottom);
    f.DrawScreen();
    EXPECT_EQ(f.pictures.files[kBackground]->GetSize(), PLCoord(248, 350));
}

INSTANTIATE_TEST_SUITE_P(All, BackgroundMarginCases,
    ::testing::Values(MarginCase { 1050, 1050, 30, 30 }, MarginCase { 30, 30, 1500, 1500 },
        MarginCase { 2000, 2000, 30, 30 }, MarginCase { 30, 30, 2000, 2000 }));

TEST(PageBackground, HugeResolutionFromAFileDoesNotOverflowTheTrim)
{
    PageFixture f(3);
    f.pictures.files[kBackground] = MakePicture(40, 60, std::numeric_limits<int32_t>::max());
    f.layout->SetBackgroundImage(kBackground);
    f.DrawScreen();
    // Far fewer pixels than the printable area asks for: cut to its aspect only.
    const PLCoord size = f.pictures.files[kBackground]->GetSize();
    EXPECT_LE(size.x, 40);
    EXPECT_LE(size.y, 60);
}

TEST(PageBackground, ScreenOnlyBackgroundIsLeftOutOfThePrint)
{
    for (const bool onScreenOnly : { true, false }) {
        PageFixture f(3, true);
        f.pictures.files[kBackground] = MakePicture(24, 35, 30);
        f.layout->SetBackgroundImage(kBackground);
        f.layout->SetBackgroundPOD(onScreenOnly);
        DrawPage(f.dc, { *f.layout, f.content, f.pictures, f.copies });
        EXPECT_EQ(f.dc.All<RecordedDib>().size(), onScreenOnly ? 0u : 1u);
    }
}

// --- placing the page

TEST(PagePlacement, WideClientCentresThePageBetweenGreyStrips)
{
    PageFixture f(3);
    const LayoutConverter converter = DrawPage(
        f.dc, { *f.layout, f.content, f.pictures, f.copies, 1.0, { 2100, 2970 }, { 2501, 3000 }, nullptr });
    EXPECT_EQ(converter.GetOffsetX(), 200); // (2501 - 2100) / 2
    EXPECT_EQ(converter.GetOffsetY(), -15); // (-3000 + 2970) / 2
    const auto fills = f.dc.All<RecordedFill>();
    ASSERT_GE(fills.size(), 4u);
    EXPECT_EQ(fills[0].call.logical, (win::RECT { 0, 0, 200, -3000 }));
    EXPECT_EQ(fills[1].call.logical, (win::RECT { 2300, 0, 2501, -3000 })); // one wider on the right
    EXPECT_EQ(fills[2].call.logical, (win::RECT { 0, 0, 2501, -15 }));
    EXPECT_EQ(fills[3].call.logical, (win::RECT { 0, -2985, 2501, -3000 }));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(fills[static_cast<size_t>(i)].call.color, kSurroundGrey);
}

TEST(PagePlacement, NarrowClientShowsNoStripAndStartsAtTheLeft)
{
    PageFixture f(3);
    const LayoutConverter converter = DrawPage(
        f.dc, { *f.layout, f.content, f.pictures, f.copies, 2.0, { 4200, 5940 }, { 1000, 800 }, nullptr });
    EXPECT_EQ(converter.GetOffsetX(), 0);
    EXPECT_EQ(converter.GetOffsetY(), 0);
    EXPECT_EQ(converter.GetScale(), 2.0);
    EXPECT_TRUE(f.dc.All<RecordedFill>().empty());
}

TEST(PagePlacement, PrinterPlacesTheMarginCornerAtItsOrigin)
{
    for (const bool portrait : { true, false }) {
        PageFixture f(3, true);
        PaperSpecs& paper = f.layout->GetPaper();
        paper.SetMarginLeft(31);
        paper.SetMarginTop(32);
        paper.SetMarginRight(33);
        paper.SetPortrait(portrait);
        const LayoutConverter converter = DrawPage(f.dc, { *f.layout, f.content, f.pictures, f.copies, 3.0 });
        EXPECT_TRUE(converter.IsPrinting());
        EXPECT_EQ(converter.GetScale(), 1.0);
        // The printer's margins are the layout's on the sheet as it lies: (left, top) either way.
        EXPECT_EQ(converter.GetOrigin(), (win::POINT { 31, 32 }));
        EXPECT_TRUE(f.dc.All<RecordedFill>().empty());
    }
}

// --- the proof loops

TEST(ProofLoops, PortraitCopiesFollowTheStep)
{
    PageFixture f(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.Unit("Port").SetRepeatCount(2);
    f.DrawScreen();
    const auto dibs = f.dc.All<RecordedDib>();
    ASSERT_EQ(dibs.size(), 2u);
    EXPECT_EQ(dibs[1].call.logicalX, dibs[0].call.logicalX);
    EXPECT_EQ(dibs[0].call.logicalY - dibs[1].call.logicalY, 850); // step (0, 850)
    EXPECT_EQ(f.Unit("Port").GetCurrentItem(), 0);
    // Both copies carry their barcode: the start bar twice, 850 apart.
    const auto fills = f.dc.All<RecordedFill>();
    ASSERT_FALSE(fills.empty());
    const int firstTop = fills.front().call.logical.bottom;
    EXPECT_TRUE(std::any_of(fills.begin(), fills.end(),
        [&](const RecordedFill& fill) { return fill.call.logical.bottom == firstTop - 850; }));
}

struct RepeatCase {
    const char* name;
    win::POINT position; // of Port, 810 high
    uint32_t repeat;
    win::POINT step;
    std::vector<uint32_t> firstCopies; // the first copies drawn, up to four
    std::size_t count; // and how many are drawn in all
    friend void PrintTo(const RepeatCase& c, std::ostream* os) { *os << c.name; }
};

class RepeatCases : public ::testing::TestWithParam<RepeatCase> { };

// Whether the picture and the barcode of the copy touch the page (2100 x 2970).
bool CopyTouchesThePage(LayoutUnit& port, uint32_t copy)
{
    port.SetCurrentItem(static_cast<int32_t>(copy));
    const LayoutBox image = ImageUnitBox(*port.FindByName("PImage"));
    port.SetCurrentItem(0);
    return image.right >= 0 && image.left <= 2100 && image.bottom >= 0 && image.top <= 2970;
}

// Every copy whose content lies on the page (2100 x 2970) is drawn, at its position wrapped to 32
// bits as the model places it, each position once, whatever the repeat count. Port's content
// runs from 30 to 810 below its anchor: anchors from -810 to 2940 put it on the page.
TEST_P(RepeatCases, CopiesOnThePageAreDrawn)
{
    const RepeatCase& c = GetParam();
    PageFixture f(0);
    LayoutUnit& port = f.Unit("Port");
    port.SetPosition(c.position);
    port.SetRepeatCount(c.repeat);
    port.SetStep(c.step);
    f.layout->GetRootUnit()->FitSubtree();
    ASSERT_EQ(port.GetItemHeight(), 810);
    const std::vector<uint32_t> copies = CopiesOnPage(port, { 2100, 2970 });
    ASSERT_EQ(copies.size(), c.count);
    EXPECT_TRUE(std::equal(c.firstCopies.begin(), c.firstCopies.end(), copies.begin()));
    EXPECT_TRUE(std::is_sorted(copies.begin(), copies.end()));
    for (const uint32_t copy : copies)
        EXPECT_TRUE(CopyTouchesThePage(port, copy)) << copy;
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.DrawScreen();
    EXPECT_EQ(f.dc.All<RecordedDib>().size(), c.count);
    EXPECT_EQ(port.GetCurrentItem(), 0);
}

constexpr uint32_t kHuge = std::numeric_limits<uint32_t>::max();

// With a huge count the run wraps round the 32-bit plane and comes back over the page again and
// again: each value of the window that the start reaches in steps is one copy (the anchors from
// -810 to 2940 that share the start's remainder by the step's largest power of two).
INSTANTIATE_TEST_SUITE_P(All, RepeatCases,
    ::testing::Values(
        RepeatCase { "huge_count", { 50, 150 }, kHuge, { 0, 850 }, { 0, 1, 2, 3 }, 3750 / 2 + 1 },
        RepeatCase { "upward_steps", { 50, 150 }, kHuge, { 0, -100 }, { 0, 1, 2, 3 }, 3748 / 4 + 1 },
        RepeatCase { "run_begins_below_the_top", { 50, -3000 }, 4, { 0, 1200 }, { 2, 3 }, 2 },
        RepeatCase {
            "run_from_below_the_page", { 50, 5000 }, kHuge, { 0, -1000 }, { 3, 4, 5 }, 3744 / 8 + 1 },
        RepeatCase { "sideways_steps", { 50, 150 }, 5, { 700, 0 }, { 0, 1, 2 }, 3 },
        RepeatCase { "far_off_the_page", { 50, 2000000000 }, kHuge, { 0, -1000 },
            { 1999998, 1999999, 2000000 }, 3744 / 8 + 1 },
        RepeatCase { "wholly_off_the_page", { 50, 4000 }, 5, { 0, 850 }, {}, 0 },
        RepeatCase { "zero_step_drawn_once", { 50, 150 }, 1000000, { 0, 0 }, { 0 }, 1 },
        RepeatCase { "few_copies_all_drawn", { 50, 150 }, 3, { 0, 850 }, { 0, 1, 2 }, 3 },
        RepeatCase { "no_copies", { 50, 150 }, 0, { 0, 850 }, {}, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

// Layouts as a studio makes them in the form, each with copies whose content lies on the page
// although the copy's anchor, or the first corner of its fitted box, does not.
struct ContentCase {
    const char* name;
    void (*edit)(Layout&);
    std::vector<uint32_t> copies;
    LayoutBox lastImage; // where the last copy's picture lies on the page
    friend void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }
};

class ContentCases : public ::testing::TestWithParam<ContentCase> { };

TEST_P(ContentCases, CopiesWhosePictureShowsAreDrawn)
{
    const ContentCase& c = GetParam();
    PageFixture f(0);
    c.edit(*f.layout);
    LayoutUnit& port = f.Unit("Port");
    EXPECT_EQ(CopiesOnPage(port, { 2100, 2970 }), c.copies);
    port.SetCurrentItem(static_cast<int32_t>(c.copies.back()));
    const LayoutBox image = ImageUnitBox(f.Unit("PImage"));
    EXPECT_EQ((std::array { image.left, image.top, image.right, image.bottom }),
        (std::array { c.lastImage.left, c.lastImage.top, c.lastImage.right, c.lastImage.bottom }));
    port.SetCurrentItem(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.DrawScreen();
    EXPECT_EQ(f.dc.All<RecordedDib>().size(), c.copies.size());
}

INSTANTIATE_TEST_SUITE_P(All, ContentCases,
    ::testing::Values(ContentCase { "picture_above_the_anchor",
                          [](Layout& layout) {
                              LayoutUnit& port = *layout.GetRootUnit()->FindByName("Port");
                              port.SetAbsolutePosition({ 50, 3000 });
                              port.FindByName("PImage")->SetY(-1500);
                          },
                          { 0 }, { 80, 1500, 710, 2280 } },
        ContentCase { "turned_picture_of_a_copy_below_the_page",
            [](Layout& layout) {
                LayoutUnit& port = *layout.GetRootUnit()->FindByName("Port");
                port.SetRepeatCount(5);
                port.SetStep({ 0, 750 });
                port.FindByName("PImage")->SetAngle(2700);
            },
            { 0, 1, 2, 3, 4 }, { 80, 2550, 860, 3180 } },
        ContentCase { "positions_wrapped_to_32_bits",
            [](Layout& layout) {
                LayoutUnit& port = *layout.GetRootUnit()->FindByName("Port");
                port.SetRepeatCount(4);
                port.SetStep({ 0, 1431656132 });
            },
            { 0, 3 }, { 80, 1280, 710, 2060 } }),
    [](const auto& info) { return std::string(info.param.name); });

// A missing sample is looked for once per drawing, not once for every copy of the proof.
TEST(ProofLoops, MissingSampleLoadsTheSamplesOncePerDrawing)
{
    PageFixture f(0);
    f.Unit("Port").SetRepeatCount(3);
    f.DrawScreen();
    EXPECT_TRUE(f.dc.All<RecordedDib>().empty());
    EXPECT_EQ(f.pictures.sampleLoads, 1);
    f.DrawScreen();
    EXPECT_EQ(f.pictures.sampleLoads, 2);
}

TEST(ProofLoops, ProofTypeThreeDrawsExtraTextsButNoProofUnits)
{
    PageFixture f(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.layout->SetLayoutType(3);
    f.DrawScreen();
    EXPECT_TRUE(f.dc.All<RecordedDib>().empty());
    EXPECT_EQ(f.dc.All<RecordedText>().size(), 8u);
}

TEST(ProofLoops, CombinedProofDrawsThePortraitAndTheGroupPicture)
{
    PageFixture f(2);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.pictures.files[painttest::kGroupPath] = MakePicture(30, 20);
    f.DrawScreen();
    const auto dibs = f.dc.All<RecordedDib>();
    ASSERT_EQ(dibs.size(), 2u);
    EXPECT_EQ(dibs[0].call.logicalX, 135); // PImage, the picture standing
    EXPECT_EQ(
        dibs[1].call.logicalY, -1235); // CGImage at (80, 1180), 780 x 630: the picture 780 x 520, 55 down
}

TEST(ExtraTexts, SampleTextOrElseTheCaption)
{
    PageFixture f(3);
    f.content.extraTexts[0] = "Studio Wendmoor";
    f.DrawScreen();
    const auto texts = TextsOf(f.dc);
    EXPECT_TRUE(Has(texts, "Studio Wendmoor"));
    EXPECT_FALSE(Has(texts, "ExtraTxt1"));
    EXPECT_TRUE(Has(texts, "ExtraTxt3"));
    f.dc.Clear();
    f.Unit("ExtraTxt3").SetVisible(false);
    f.DrawScreen();
    EXPECT_FALSE(Has(TextsOf(f.dc), "ExtraTxt3"));
}

// --- reference boxes

TEST(RefBoxes, FourBoxesAtTheUnitsStepsWhateverItsRepeatCount)
{
    PageFixture f(0);
    LayoutUnit& unit = f.Unit("PRefBoxes"); // at (1520, 200), step (100, 0)
    unit.SetRepeatCount(1);
    DrawRefBoxesUnit(f.Context(), unit);
    const auto texts = f.dc.All<RecordedText>();
    ASSERT_EQ(texts.size(), 4u);
    const char* const parts[] = { "1234", "5678", "9012", "3" };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].text, parts[i]);
        EXPECT_EQ(texts[i].logicalOrigin, (win::POINT { 1520 + 100 * static_cast<int>(i), -200 }));
        EXPECT_EQ(texts[i].font.logical.lfHeight, -28); // 80 * 254 / -720
    }
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
}

TEST(RefBoxes, HugeFontSizeGivesTheLargestFontNotAWrappedOne)
{
    PageFixture f(0);
    LayoutUnit& unit = f.Unit("PRefBoxes");
    unit.SetFontSize(std::numeric_limits<uint32_t>::max());
    DrawRefBoxesUnit(f.Context(), unit);
    const auto texts = f.dc.All<RecordedText>();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].font.logical.lfHeight, -gdi::kMaxFontHeight);
}

// --- the selection

TEST(Selection, FrameIsDrawnOverThePageOnScreenOnly)
{
    for (const bool printing : { false, true }) {
        PageFixture f(0, printing);
        const LayoutUnit& unit = f.Unit("PImage");
        f.layout->GetRootUnit()->FitSubtree();
        if (printing)
            DrawPage(f.dc, { *f.layout, f.content, f.pictures, f.copies, 1.0, {}, {}, &unit });
        else
            f.DrawScreen(&unit);
        const auto lines = f.dc.All<RecordedLine>();
        if (printing) {
            EXPECT_TRUE(lines.empty());
            continue;
        }
        // The move bounds of a child of Port: from Port's anchor (50, 150) to the printable corner.
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0].call.logicalFrom, (win::POINT { 50, -150 }));
        EXPECT_EQ(lines[0].call.logicalTo, (win::POINT { 2070, -150 }));
        EXPECT_EQ(lines[2].call.logicalTo, (win::POINT { 50, -2940 }));
        EXPECT_EQ(lines[0].call.pen.logical.lopnColor, win::RGB(255, 0, 0));
        EXPECT_EQ(lines[0].call.pen.logical.lopnWidth, 2);
        // The unit's frame: the drag rectangle of (80, 180)-(710, 960) in device pixels, a border of
        // 3, with no earlier frame to erase; nothing is painted over the unit otherwise.
        const auto frames = f.dc.All<gdi::RecordedDragRect>();
        ASSERT_EQ(frames.size(), 1u);
        win::RECT expected { 80, -180, 710, -960 };
        f.dc.LPtoDP(&expected);
        EXPECT_EQ(frames[0].call.rect,
            (win::RECT { expected.left, std::min(expected.top, expected.bottom), expected.right,
                std::max(expected.top, expected.bottom) }));
        EXPECT_EQ(frames[0].call.size, (win::SIZE { 3, 3 }));
        EXPECT_FALSE(frames[0].call.hasLast);
        const auto fills = f.dc.All<RecordedFill>();
        EXPECT_TRUE(std::none_of(
            fills.begin(), fills.end(), [](const RecordedFill& fill) { return fill.call.halftone; }));
        EXPECT_TRUE(f.dc.ObjectFaults().empty());
    }
}

TEST(MoveBounds, ChildOfATurnedProofCannotPassItsParentsAnchor)
{
    PageFixture f(0);
    EXPECT_EQ(GetMoveBounds(*f.layout, f.Unit("Port")), (win::RECT { 30, 30, 2070, 2940 }));
    f.Unit("Port").SetQuarterTurns(1);
    const win::POINT anchor = f.Unit("Port").GetAbsolutePosition(0);
    EXPECT_EQ(GetMoveBounds(*f.layout, f.Unit("PImage")), (win::RECT { 30, anchor.y, anchor.x, 2940 }));
}

TEST(PageDrawing, EveryFontAndPenIsDeselectedAndTheRootFitsItsChildren)
{
    PageFixture f(2);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.pictures.files[painttest::kGroupPath] = MakePicture(30, 20);
    f.layout->SetOverprintCopyright(true);
    f.DrawScreen(&f.Unit("PBarcode"));
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
    EXPECT_EQ(f.dc.GetStretchBltMode(), gdi::COLORONCOLOR);
    EXPECT_EQ(f.dc.GetBkMode(), gdi::TRANSPARENT);
    EXPECT_GT(f.layout->GetRootUnit()->GetItemWidth(), 0);
}

} // namespace
