#include "platform/gdi/RecordingDeviceContext.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using gdi::RecordedFill;
using gdi::RecordedLine;
using gdi::RecordedText;
using gdi::RecordingDeviceContext;
using win::POINT;
using win::RGB;

gdi::LOGFONT Font(int height, int escapement = 0)
{
    gdi::LOGFONT lf;
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    gdi::SetFaceName(lf, "Arial");
    return lf;
}

win::BOOL Create(gdi::CFont& font, int height, int escapement = 0)
{
    const gdi::LOGFONT lf = Font(height, escapement);
    return font.CreateFontIndirect(&lf);
}

TEST(FontConversion, HeightsOnTheDevice)
{
    struct Case {
        int dpi;
        int logical;
        int device;
    } const cases[] = {
        { 600, -35, -83 }, // 35 * 600 / 254 = 82.68
        { 254, -35, -35 },
        { 254, 40, 40 }, // a cell height keeps its sign
        { 96, -1, -1 }, // 0.38 pixel: drawn at the smallest visible size, not the default one
        { 96, 1, 1 },
        { 96, 0, 0 }, // 0 asks for the device's default size
        { 1200, -gdi::kMaxFontHeight, -gdi::kMaxDeviceFontHeight }, // clamped for the device
    };
    for (const auto& c : cases) {
        RecordingDeviceContext dc({ 100, 100, c.dpi, c.dpi });
        dc.SetMapMode(gdi::MM_LOMETRIC);
        EXPECT_EQ(dc.ToDeviceFont(Font(c.logical)).height, c.device) << c.dpi << " dpi, " << c.logical;
    }
}

TEST(FontConversion, ObjectsClampWhatTheyAccept)
{
    gdi::CFont font;
    ASSERT_TRUE(Create(font, INT_MIN, -900));
    EXPECT_EQ(font.GetLogFont().lfHeight, -gdi::kMaxFontHeight);
    EXPECT_EQ(font.GetLogFont().lfEscapement, 2700);
    EXPECT_FALSE(Create(font, 10)) << "already holds a font";

    gdi::CPen wide, negative, dashed;
    ASSERT_TRUE(wide.CreatePen(gdi::PS_SOLID, INT_MAX, 0));
    EXPECT_EQ(wide.GetLogPen().lopnWidth, gdi::kMaxPenWidth);
    ASSERT_TRUE(negative.CreatePen(gdi::PS_SOLID, -5, 0));
    EXPECT_EQ(negative.GetLogPen().lopnWidth, 0);
    EXPECT_FALSE(dashed.CreatePen(1, 1, 0));

    RecordingDeviceContext dc({ 100, 100, 1200, 1200 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    EXPECT_EQ(dc.ToDevicePen(wide.GetLogPen()).width, gdi::kMaxDevicePenWidth);
    EXPECT_EQ(dc.ToDevicePen(negative.GetLogPen()).width, 0);
}

TEST(Drawing, FillSolidRectFillsTheNormalisedDeviceRectAndSetsTheBackground)
{
    RecordingDeviceContext dc;
    dc.SetMapMode(gdi::MM_LOMETRIC);
    dc.SetBkColor(RGB(1, 2, 3));
    dc.FillSolidRect({ 10, -20, 30, -50 }, RGB(200, 0, 0));
    EXPECT_EQ(dc.GetBkColor(), RGB(200, 0, 0));
    const auto fills = dc.All<RecordedFill>();
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].call.device, (win::RECT { 10, 20, 30, 50 }));
    EXPECT_EQ(fills[0].call.logical, (win::RECT { 10, -20, 30, -50 }));
    EXPECT_EQ(fills[0].call.color, RGB(200, 0, 0));
}

TEST(Drawing, LinesRunFromTheCurrentPositionWithTheSelectedPen)
{
    RecordingDeviceContext dc({ 100, 100, 508, 508 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    gdi::CPen red;
    red.CreatePen(gdi::PS_SOLID, 2, RGB(255, 0, 0));
    gdi::CPen* old = dc.SelectObject(&red);
    dc.MoveTo(0, 0);
    dc.LineTo(10, -5);
    dc.LineTo(20, -5);
    dc.SelectObject(old);
    red.DeleteObject();
    const auto lines = dc.All<RecordedLine>();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].call.deviceFrom, (POINT { 0, 0 }));
    EXPECT_EQ(lines[0].call.deviceTo, (POINT { 20, 10 }));
    EXPECT_EQ(lines[1].call.logicalFrom, (POINT { 10, -5 }));
    EXPECT_EQ(lines[1].call.pen.width, 4);
    EXPECT_EQ(lines[1].call.pen.color, RGB(255, 0, 0));
    EXPECT_TRUE(dc.ObjectFaults().empty());
}

TEST(Drawing, TextExtentIsMeasuredOnTheDeviceAndGivenInLogicalUnits)
{
    RecordingDeviceContext dc({ 100, 100, 508, 508 });
    dc.SetMapMode(gdi::MM_LOMETRIC);
    dc.SetTextMeasurer([](std::string_view text, const gdi::DeviceFont& font) {
        return win::SIZE { static_cast<win::LONG>(text.size()) * 10, -font.height };
    });
    gdi::CFont font;
    Create(font, -30);
    gdi::CFont* old = dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent("abc"), (win::SIZE { 15, 30 })); // 30 x 60 device pixels
    dc.SelectObject(old);
}

TEST(Drawing, TextCellTurnsCounterClockwiseWithTheEscapement)
{
    // Device y points down: a quarter turn counter-clockwise runs the text upward and puts its
    // cell to the right of the origin.
    struct Case {
        int escapement;
        win::RECT bounds;
    } const cases[] = {
        { 0, { 100, 100, 160, 120 } },
        { 900, { 100, 40, 120, 100 } },
        { 1800, { 40, 80, 100, 100 } },
        { 2700, { 80, 100, 100, 160 } },
    };
    for (const auto& c : cases) {
        RecordingDeviceContext dc;
        dc.SetTextMeasurer([](std::string_view, const gdi::DeviceFont&) { return win::SIZE { 60, 20 }; });
        gdi::CFont font;
        Create(font, -20, c.escapement);
        gdi::CFont* old = dc.SelectObject(&font);
        dc.SetTextColor(RGB(0, 0, 255));
        dc.TextOut(100, 100, "x");
        dc.SelectObject(old);
        const auto texts = dc.All<RecordedText>();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].DeviceBounds(), c.bounds) << c.escapement;
        EXPECT_EQ(texts[0].deviceCorners[0], (POINT { 100, 100 }));
        EXPECT_EQ(texts[0].state.textColor, RGB(0, 0, 255));
    }
}

TEST(ObjectHandling, DeletingASelectedObjectIsRefusedAndReported)
{
    RecordingDeviceContext dc;
    gdi::CFont font;
    Create(font, -10);
    gdi::CFont* old = dc.SelectObject(&font);
    ASSERT_NE(old, nullptr);
    EXPECT_FALSE(font.DeleteObject());
    EXPECT_TRUE(font.IsCreated());
    EXPECT_EQ(dc.ObjectFaults(), (std::vector<std::string> { "font deleted while selected", "font left selected" }));
    dc.SelectObject(old);
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_EQ(dc.ObjectFaults(), (std::vector<std::string> { "font deleted while selected" }));
}

TEST(ObjectHandling, DestroyingASelectedObjectIsReportedAndDrawingGoesOn)
{
    RecordingDeviceContext dc;
    {
        gdi::CPen pen;
        pen.CreatePen(gdi::PS_SOLID, 3, RGB(0, 255, 0));
        dc.SelectObject(&pen);
    }
    EXPECT_EQ(dc.ObjectFaults(), (std::vector<std::string> { "pen destroyed while selected" }));
    dc.LineTo(5, 5); // still draws with the remembered pen
    EXPECT_EQ(dc.All<RecordedLine>().at(0).call.pen.color, RGB(0, 255, 0));
}

TEST(ObjectHandling, SelectingBackAndDeletingLeavesNoFault)
{
    RecordingDeviceContext dc;
    gdi::CFont font;
    gdi::CPen pen;
    Create(font, -10);
    pen.CreatePen(gdi::PS_SOLID, 1, 0);
    gdi::CFont* oldFont = dc.SelectObject(&font);
    gdi::CPen* oldPen = dc.SelectObject(&pen);
    EXPECT_EQ(dc.GetSelectedFont().lfHeight, -10);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldFont);
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_TRUE(dc.ObjectFaults().empty());
    EXPECT_EQ(dc.GetSelectedFont().lfHeight, 0);
    gdi::CFont empty;
    EXPECT_EQ(dc.SelectObject(&empty), nullptr) << "an object never created cannot be selected";
}

TEST(ObjectHandling, AnObjectOutlivingItsDeviceContextIsReleased)
{
    gdi::CFont font;
    Create(font, -10);
    {
        RecordingDeviceContext dc;
        dc.SelectObject(&font);
    }
    EXPECT_FALSE(font.IsSelected());
    EXPECT_TRUE(font.DeleteObject());
}

} // namespace
