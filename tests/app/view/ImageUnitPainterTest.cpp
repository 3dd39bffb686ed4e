#include "PaintTestSupport.h"

#include "app/view/ImageUnitPainter.h"
#include "app/view/TextInBox.h"
#include "model/LayoutUnit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>

namespace {

using gdi::RecordedDib;
using gdi::RecordedLine;
using gdi::RecordedText;
using painttest::MakePicture;
using painttest::PageFixture;

// A picture whose top-left quarter is red and the rest blue, to see where its corner went.
std::shared_ptr<Pellimar::DeviceIndepBitmap> MarkedPicture(int width, int height)
{
    return MakePicture(width, height, 0, [=](int x, int y) {
        return x < width / 2 && y < height / 2 ? win::RGB(255, 0, 0) : win::RGB(0, 0, 255);
    });
}

struct ImageCase {
    const char* name;
    int pictureWidth, pictureHeight;
    const char* unit;
    int unitTurns;
    LayoutBox box; // the unit's box in layout units
    win::RECT drawn; // where the picture lands: left, top, width, height in layout units
    // Which corner of the drawn picture holds the picture's top-left: 0 top-left, 1 top-right,
    // 2 bottom-right, 3 bottom-left (the quarter turns of the picture).
    int markCorner;
    friend void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }
};

class ImageUnitCases : public ::testing::TestWithParam<ImageCase> { };

TEST_P(ImageUnitCases, PictureIsTurnedFittedAndCentredInTheUnitBox)
{
    const ImageCase& c = GetParam();
    PageFixture f(0);
    const bool portrait = std::string(c.unit) == "PImage";
    f.pictures.files[portrait ? painttest::kPortraitPath : painttest::kGroupPath]
        = MarkedPicture(c.pictureWidth, c.pictureHeight);
    LayoutUnit& unit = f.Unit("PImage");
    unit.SetQuarterTurns(c.unitTurns);
    f.dc.KeepPixels(true);
    DrawImageUnit(f.Context(), unit, portrait ? painttest::kPortraitPath : painttest::kGroupPath, portrait);

    const LayoutBox box = ImageUnitBox(unit);
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
    const auto dibs = f.dc.All<RecordedDib>();
    ASSERT_EQ(dibs.size(), 1u);
    const gdi::DibCall& call = dibs[0].call;
    EXPECT_EQ(call.logicalX, c.drawn.left);
    EXPECT_EQ(call.logicalY, -c.drawn.top);
    EXPECT_EQ(call.logicalWidth, c.drawn.right);
    EXPECT_EQ(call.logicalHeight, -c.drawn.bottom);
    // The display copy is the drawn size in device pixels (one a layout unit here).
    ASSERT_EQ(call.srcWidth, c.drawn.right);
    ASSERT_EQ(call.srcHeight, c.drawn.bottom);
    const auto& pixels = dibs[0].pixels;
    const int w = call.srcWidth;
    const int h = call.srcHeight;
    const int corners[4] = { 0, w - 1, (h - 1) * w + w - 1, (h - 1) * w };
    for (int corner = 0; corner < 4; ++corner) {
        const bool red = pixels[static_cast<size_t>(corners[corner])] == win::RGB(255, 0, 0);
        EXPECT_EQ(red, corner == c.markCorner) << "corner " << corner;
    }
}

// PImage lies at (80, 180), 630 x 780; the group sample goes on its side, the portrait upright.
const ImageCase kImageCases[] = {
    // 780 / 3000 < 630 / 2000: the turned picture is 520 x 780, 55 in from the left.
    { "landscape_stands_upright", 3000, 2000, "PImage", 0, { 80, 180, 710, 960 }, { 135, 180, 520, 780 }, 3 },
    { "portrait_picture_stays", 2000, 3000, "PImage", 0, { 80, 180, 710, 960 }, { 135, 180, 520, 780 }, 0 },
    // One more turn: the box covers x - 780 to x across, y to y + 630 down; the picture lies
    // 780 x 520, 55 down from the top.
    { "turned_unit", 3000, 2000, "PImage", 1, { -700, 180, 80, 810 }, { -700, 235, 780, 520 }, 0 },
    { "group_picture_lies_on_its_side", 2000, 3000, "GImage", 0, { 80, 180, 710, 960 }, { 80, 360, 630, 420 },
        1 },
};

INSTANTIATE_TEST_SUITE_P(All, ImageUnitCases, ::testing::ValuesIn(kImageCases),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ImageUnit, MissingPictureLoadsTheSamplesOnceAndDrawsNothingNotEvenTheOverprint)
{
    PageFixture f(0);
    f.layout->SetOverprintCopyright(true);
    DrawImageUnit(f.Context(), f.Unit("PImage"), painttest::kPortraitPath, true);
    EXPECT_EQ(f.pictures.sampleLoads, 1);
    EXPECT_TRUE(f.dc.Primitives().empty());
}

TEST(ImageUnit, HiddenUnitDrawsNothing)
{
    PageFixture f(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.Unit("PImage").SetVisible(false);
    DrawImageUnit(f.Context(), f.Unit("PImage"), painttest::kPortraitPath, true);
    EXPECT_TRUE(f.dc.Primitives().empty());
}

// The overprint over PImage's box (80, 180)-(710, 960): strips 156 high, 39 in from the sides.
TEST(ImageUnit, OverprintWritesTheWordTwiceAndDrawsTheDiagonalInItsColour)
{
    PageFixture f(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(300, 200);
    f.layout->SetOverprintCopyright(true);
    f.layout->SetOverprintColour("FF8000");
    f.layout->SetOverprintDiagWidth(7);
    f.dc.SetTextColor(win::RGB(1, 2, 3));
    // Every text fits at once: drawn at 60 points.
    f.dc.SetTextMeasurer([](std::string_view, const gdi::DeviceFont&) { return win::SIZE { 100, 40 }; });
    DrawImageUnit(f.Context(), f.Unit("PImage"), painttest::kPortraitPath, true);

    const auto texts = f.dc.All<RecordedText>();
    ASSERT_EQ(texts.size(), 2u);
    for (const RecordedText& text : texts) {
        EXPECT_EQ(text.text, "\xA9   Proof   \xA9");
        EXPECT_EQ(text.state.textColor, win::RGB(255, 128, 0));
        EXPECT_EQ(text.font.logical.lfHeight, -211); // 600 * 254 / -720
        EXPECT_EQ(text.font.escapement, 0);
    }
    // Centred in (119, 180)-(671, 336) and (119, 804)-(671, 960): x 395 - 50, y -258 + 20.
    EXPECT_EQ(texts[0].logicalOrigin, (win::POINT { 345, -238 }));
    EXPECT_EQ(texts[1].logicalOrigin, (win::POINT { 345, -862 }));
    const auto lines = f.dc.All<RecordedLine>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].call.logicalFrom, (win::POINT { 119, -856 })); // lower left, 104 up
    EXPECT_EQ(lines[0].call.logicalTo, (win::POINT { 671, -284 }));
    EXPECT_EQ(lines[0].call.pen.logical.lopnWidth, 7);
    EXPECT_EQ(lines[0].call.pen.logical.lopnColor, win::RGB(255, 128, 0));
    EXPECT_EQ(f.dc.GetTextColor(), win::RGB(1, 2, 3));
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
}

TEST(ImageUnit, HugeDiagonalWidthGivesTheWidestPenNotANegativeOne)
{
    PageFixture f(0);
    f.pictures.files[painttest::kPortraitPath] = MakePicture(30, 20);
    f.layout->SetOverprintCopyright(true);
    f.layout->SetOverprintDiagWidth(std::numeric_limits<uint32_t>::max());
    DrawImageUnit(f.Context(), f.Unit("PImage"), painttest::kPortraitPath, true);
    const auto lines = f.dc.All<RecordedLine>();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].call.pen.logical.lopnWidth, gdi::kMaxPenWidth);
}

TEST(ImageUnit, BoxEdgesSaturateInsteadOfWrapping)
{
    PageFixture f(0);
    LayoutUnit& unit = f.Unit("PImage");
    unit.SetAbsolutePosition({ std::numeric_limits<int32_t>::max() - 10, 0 });
    unit.SetSize({ std::numeric_limits<int32_t>::max(), 100 });
    const LayoutBox box = ImageUnitBox(unit);
    EXPECT_EQ(box.right, std::numeric_limits<int32_t>::max());
    EXPECT_GT(box.right, box.left);
    unit.SetAbsolutePosition({ std::numeric_limits<int32_t>::min() + 10, 0 });
    unit.SetQuarterTurns(2);
    EXPECT_EQ(ImageUnitBox(unit).left, std::numeric_limits<int32_t>::min());
}

// Fitting the overprint: a text that never fits shrinks by 5 % a step down to the first size of 9
// or below.
TEST(FitFontToBox, TextThatNeverFitsEndsAtNine)
{
    PageFixture f(0);
    std::vector<int> heights;
    f.dc.SetTextMeasurer([&](std::string_view, const gdi::DeviceFont& font) {
        heights.push_back(font.logical.lfHeight);
        return win::SIZE { 100000, 100000 };
    });
    int32_t size = 600;
    EXPECT_TRUE(FitFontToBox("word", f.converter, f.dc, 500, -200, size, "Arial"));
    EXPECT_EQ(size, 9);
    ASSERT_GE(heights.size(), 4u);
    // 600, 570, 541, 513 tenths of a point in tenths of a millimetre.
    EXPECT_EQ(heights[0], -211);
    EXPECT_EQ(heights[1], -201);
    EXPECT_EQ(heights[2], -190);
    EXPECT_EQ(heights[3], -180);
    EXPECT_TRUE(f.dc.ObjectFaults().empty());
}

TEST(FitFontToBox, StopsAtTheFirstSizeThatFitsNinetyNinePercent)
{
    PageFixture f(0);
    // The text is as wide as its font is high: 99 % of 200 is 198, reached at 541 (190 high).
    f.dc.SetTextMeasurer([](std::string_view, const gdi::DeviceFont& font) {
        const int h = std::abs(font.height);
        return win::SIZE { h, h };
    });
    int32_t size = 600;
    EXPECT_TRUE(FitFontToBox("word", f.converter, f.dc, 1000, -200, size, "Arial"));
    EXPECT_EQ(size, 541);
}

TEST(FitFontToBox, BoxTooSmallKeepsTheSizeAndDrawsNothing)
{
    struct SmallBox {
        int64_t width, height;
    };
    for (const SmallBox box : { SmallBox { 19, 100 }, SmallBox { 100, 4 }, SmallBox { -19, -100 } }) {
        PageFixture f(0);
        int32_t size = 600;
        EXPECT_FALSE(FitFontToBox("word", f.converter, f.dc, box.width, box.height, size, "Arial"));
        EXPECT_EQ(size, 600);
        EXPECT_FALSE(DrawTextInBox(f.dc, f.converter, "word", { 0, 0, 19, 100 }, 600, "Arial"));
        EXPECT_TRUE(f.dc.All<RecordedText>().empty());
    }
}

// A sample decoded at a reduced scale asks for the coarsest finer scale that still has
// kSampleOversampling of its pixels for each drawn pixel across and down (a pixel short counts),
// never a coarser one than it has, and full size for printing.
TEST(SampleScaleNeeded, CoarsestScaleWithEnoughPixelsForEachDrawnPixel)
{
    static_assert(kSampleOversampling == 6, "the cases below are worked out for six");
    struct ScaleCase {
        int decodeScale;
        PLCoord turned; // the picture at decodeScale, turned as drawn
        win::SIZE drawn;
        bool printing;
        int expected;
    };
    const ScaleCase cases[] = {
        { 8, { 250, 310 }, { 20, 25 }, false, 8 },
        { 8, { 250, 310 }, { 41, 51 }, false, 8 }, // a pixel short counts as enough
        { 8, { 250, 310 }, { 42, 52 }, false, 4 },
        { 8, { 250, 310 }, { -80, -100 }, false, 4 }, // flipped extents count by their size
        { 8, { 250, 310 }, { 163, 202 }, false, 2 }, // the first frame in a 1100 x 800 window
        { 8, { 250, 310 }, { 167, 207 }, false, 1 },
        { 8, { 250, 310 }, { 5000, 5000 }, false, 1 }, // never more than the file holds
        { 2, { 1000, 1240 }, { 100, 100 }, false, 2 }, // never coarser than already decoded
        { 8, { 250, 310 }, { 10, 10 }, true, 1 }, // printing takes every pixel
        { 1, { 2000, 2480 }, { 10, 10 }, false, 1 },
    };
    for (const ScaleCase& c : cases)
        EXPECT_EQ(SampleScaleNeeded(c.decodeScale, c.turned, c.drawn, c.printing), c.expected)
            << c.decodeScale << " " << c.drawn.cx << "x" << c.drawn.cy << (c.printing ? " printing" : "");
}

} // namespace
