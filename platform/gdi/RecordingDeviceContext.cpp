#include "platform/gdi/RecordingDeviceContext.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gdi {

namespace {

// Unit vectors of a text's run and of its downward side on the device (y down) for an
// escapement counted counter-clockwise as seen on the page.
struct Axes {
    double runX, runY, downX, downY;
};

Axes TextAxes(int escapement)
{
    switch (escapement) {
    case 0:
        return { 1, 0, 0, 1 };
    case 900:
        return { 0, -1, 1, 0 };
    case 1800:
        return { -1, 0, 0, -1 };
    case 2700:
        return { 0, 1, -1, 0 };
    default: {
        const double angle = escapement / 10.0 * std::numbers::pi / 180.0;
        return { std::cos(angle), -std::sin(angle), std::sin(angle), std::cos(angle) };
    }
    }
}

win::POINT Offset(win::POINT origin, double x, double y)
{
    return { static_cast<win::LONG>(std::lround(origin.x + x)),
        static_cast<win::LONG>(std::lround(origin.y + y)) };
}

} // namespace

win::RECT RecordedText::DeviceBounds() const
{
    win::RECT r { deviceCorners[0].x, deviceCorners[0].y, deviceCorners[0].x, deviceCorners[0].y };
    for (const auto& corner : deviceCorners) {
        r.left = std::min(r.left, corner.x);
        r.right = std::max(r.right, corner.x);
        r.top = std::min(r.top, corner.y);
        r.bottom = std::max(r.bottom, corner.y);
    }
    return r;
}

RecordingDeviceContext::RecordingDeviceContext(const DeviceCaps& caps, bool printing)
    : DeviceContext(caps, printing)
    , measurer_(&RecordingDeviceContext::DefaultMeasure)
{
}

win::SIZE RecordingDeviceContext::DefaultMeasure(std::string_view text, const DeviceFont& font)
{
    const int height = font.height == 0 ? 16 : std::abs(font.height);
    const int64_t width = static_cast<int64_t>(text.size()) * std::max(1, height / 2);
    return { static_cast<win::LONG>(std::min<int64_t>(width, INT32_MAX)), height };
}

RecordedState RecordingDeviceContext::State() const
{
    return { GetMapMode(), GetWindowOrg(), GetViewportOrg(), GetTextColor(), GetBkColor(), GetBkMode(),
        GetStretchBltMode() };
}

void RecordingDeviceContext::DoFillRect(const FillCall& call)
{
    primitives_.emplace_back(RecordedFill { call, State() });
}

void RecordingDeviceContext::DoLine(const LineCall& call)
{
    primitives_.emplace_back(RecordedLine { call, State() });
}

void RecordingDeviceContext::DoText(const TextCall& call)
{
    RecordedText text;
    text.logicalOrigin = call.logicalOrigin;
    text.deviceOrigin = call.deviceOrigin;
    text.text = std::string(call.text);
    text.font = call.font;
    text.deviceExtent = DoMeasureText(call.text, call.font);
    const Axes axes = TextAxes(call.font.escapement);
    const double cx = text.deviceExtent.cx;
    const double cy = text.deviceExtent.cy;
    const win::POINT o = call.deviceOrigin;
    text.deviceCorners = { o, Offset(o, cx * axes.runX, cx * axes.runY),
        Offset(o, cx * axes.runX + cy * axes.downX, cx * axes.runY + cy * axes.downY),
        Offset(o, cy * axes.downX, cy * axes.downY) };
    text.state = State();
    primitives_.emplace_back(std::move(text));
}

win::SIZE RecordingDeviceContext::DoMeasureText(std::string_view text, const DeviceFont& font) const
{
    return measurer_(text, font);
}

void RecordingDeviceContext::DoStretchDib(const DibCall& call)
{
    RecordedDib dib { call, State(), {} };
    if (keepPixels_) {
        // Source y counts up from the picture's bottom row; picture rows count down from the top.
        const uint64_t topRow = call.dib.Rows() - static_cast<uint64_t>(call.srcY + call.srcHeight);
        dib.pixels.reserve(static_cast<size_t>(call.srcWidth) * static_cast<size_t>(call.srcHeight));
        for (uint64_t row = topRow; row < topRow + static_cast<uint64_t>(call.srcHeight); ++row)
            for (int x = call.srcX; x < call.srcX + call.srcWidth; ++x)
                dib.pixels.push_back(call.dib.PixelColor(static_cast<uint64_t>(x), row));
    }
    primitives_.emplace_back(std::move(dib));
}

void RecordingDeviceContext::DoDragRect(const DragRectCall& call)
{
    primitives_.emplace_back(RecordedDragRect { call, State() });
}

} // namespace gdi
