#include "app/view/DisplayConverter.h"

#include "model/LayoutUnit.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cmath>

namespace {

struct Run {
    int64_t x;
    int64_t y;
};

// The run (length, 0) of a text turned clockwise by quarter turns, in layout axes (y down).
Run TurnedRun(int64_t length, int quarterTurns)
{
    switch (quarterTurns) {
    case 1:
        return { 0, length };
    case 2:
        return { -length, 0 };
    case 3:
        return { 0, -length };
    default:
        return { length, 0 };
    }
}

} // namespace

DisplayConverter::~DisplayConverter() = default;
LayoutConverter::~LayoutConverter() = default;

bool DisplayConverter::SetScale(double scale)
{
    if (!std::isfinite(scale) || scale <= 0.0)
        return false;
    scale_ = scale;
    return true;
}

void DisplayConverter::ToDevice(win::POINT& point) const
{
    const int64_t dx = static_cast<int64_t>(point.x) - originX_;
    const int64_t dy = static_cast<int64_t>(originY_) - point.y;
    point.x = win::SaturateToInt32(
        static_cast<int64_t>(win::SaturateToInt32(static_cast<double>(dx) * scale_)) + offsetX_);
    point.y = win::SaturateToInt32(
        static_cast<int64_t>(win::SaturateToInt32(static_cast<double>(dy) * scale_)) + offsetY_);
}

void DisplayConverter::ToDeviceRect(win::RECT& rect) const
{
    win::POINT topLeft { rect.left, rect.top };
    win::POINT bottomRight { rect.right, rect.bottom };
    ToDevice(topLeft);
    ToDevice(bottomRight);
    rect = { topLeft.x, topLeft.y, bottomRight.x, bottomRight.y };
}

int DisplayConverter::ToLayoutX(int deviceX) const
{
    const int64_t d = static_cast<int64_t>(deviceX) - offsetX_;
    return win::SaturateToInt32(
        static_cast<int64_t>(win::SaturateToInt32(static_cast<double>(d) / scale_)) + originX_);
}

int DisplayConverter::ToLayoutY(int deviceY) const
{
    const int64_t d = static_cast<int64_t>(deviceY) - offsetY_;
    return win::SaturateToInt32(
        static_cast<int64_t>(originY_) - win::SaturateToInt32(static_cast<double>(d) / scale_));
}

void DisplayConverter::ToLayout(win::POINT& point) const
{
    point = { ToLayoutX(point.x), ToLayoutY(point.y) };
}

int DisplayConverter::ScaleLength(int length) const
{
    return win::SaturateToInt32(length * scale_);
}

int DisplayConverter::ScaleLengthNegated(int length) const
{
    return win::SaturateToInt32(-static_cast<double>(length) * scale_);
}

void DisplayConverter::ToLayoutSize(win::SIZE& size) const
{
    size = { ToLayoutLength(size.cx), ToLayoutLength(size.cy) };
}

int DisplayConverter::ToLayoutLength(int length) const
{
    return win::SaturateToInt32(length / scale_);
}

int32_t DisplayConverter::FontHeight(int64_t size) const
{
    // size * 254 in 64 bits cannot overflow for any 32-bit size; the quotient is clamped before
    // it becomes a 32-bit height.
    const double height = static_cast<double>(size * 254) * scale_ / -720.0;
    const double limited = std::clamp(
        height, -static_cast<double>(gdi::kMaxFontHeight), static_cast<double>(gdi::kMaxFontHeight));
    const auto truncated = static_cast<int32_t>(limited);
    return truncated == 0 ? -1 : truncated;
}

bool DisplayConverter::CreateFont(
    gdi::CFont& font, int64_t size, const std::string& faceName, int escapement) const
{
    gdi::LOGFONT lf;
    lf.lfHeight = FontHeight(std::clamp<int64_t>(size, INT32_MIN, UINT32_MAX));
    lf.lfEscapement = escapement;
    lf.lfCharSet = gdi::ANSI_CHARSET;
    lf.lfOutPrecision = gdi::OUT_TT_ONLY_PRECIS;
    gdi::SetFaceName(lf, faceName);
    return font.CreateFontIndirect(&lf) != win::FALSE;
}

void DisplayConverter::DrawUnitText(
    LayoutUnit& unit, const std::string& text, gdi::DeviceContext& dc, bool resetSize, int item) const
{
    win::POINT anchor = unit.GetAbsolutePosition(item);
    ToDevice(anchor);
    const win::SIZE extent = dc.GetTextExtent(text);
    const Run run = TurnedRun(extent.cx, unit.GetAbsoluteQuarterTurns());
    // Device y grows upward while the run is in layout axes, hence the added y.
    switch (unit.GetAlignment()) {
    case 0:
        dc.TextOut(anchor.x, anchor.y, text);
        break;
    case 1:
        dc.TextOut(
            win::SaturateToInt32(anchor.x - run.x / 2), win::SaturateToInt32(anchor.y + run.y / 2), text);
        break;
    case 2:
        dc.TextOut(win::SaturateToInt32(anchor.x - run.x), win::SaturateToInt32(anchor.y + run.y), text);
        break;
    default:
        break;
    }
    if (resetSize)
        unit.SetItemSize({ 0, 0 });
    unit.GrowItemSize({ ToLayoutLength(extent.cx), ToLayoutLength(extent.cy) });
}

int TextEscapement(int clockwiseAngle)
{
    return (((3600 - clockwiseAngle % 3600) % 3600) + 3600) % 3600;
}

void ScaleRect(win::RECT& dst, const win::RECT& src, int factor)
{
    const int64_t f = factor;
    dst = { win::SaturateToInt32(src.left * f), win::SaturateToInt32(src.top * f),
        win::SaturateToInt32(src.right * f), win::SaturateToInt32(src.bottom * f) };
}
