#include "imaging/AspectCrop.h"

namespace {

// The largest centred rectangle of the ratio.
win::RECT CentredRectangle(int32_t w, int32_t h, const AspectCropRequest& r)
{
    const double ratio = (r.a > r.b || r.force) ? r.a / r.b : r.b / r.a;
    const bool portrait = h > w || r.force;
    const double v = portrait ? static_cast<double>(h) / w : static_cast<double>(w) / h;
    // Cutting columns keeps all rows, and the other way round.
    const bool cutColumns = portrait == (ratio > v);
    const double f = (ratio > v) ? (1 - v / ratio) * 0.5 : (1 - ratio / v) * 0.5;
    if (cutColumns)
        return { static_cast<int32_t>(w * f), 0, static_cast<int32_t>(w * (1 - f)), h };
    return { 0, static_cast<int32_t>(h * f), w, static_cast<int32_t>(h * (1 - f)) };
}

void ApplyMargin(win::RECT& rect, int32_t marginPercent)
{
    const int64_t width = rect.right - rect.left;
    const int64_t height = rect.bottom - rect.top;
    const auto newWidth = static_cast<int64_t>(width * (100 - static_cast<double>(marginPercent)) / 100.0);
    const auto newHeight = static_cast<int64_t>(height * (100 - static_cast<double>(marginPercent)) / 100.0);
    rect.left += static_cast<int32_t>((width - newWidth) / 2);
    rect.top += static_cast<int32_t>((height - newHeight) / 2);
    rect.right = static_cast<int32_t>(rect.left + newWidth);
    rect.bottom = static_cast<int32_t>(rect.top + newHeight);
}

// Moves [low, high) by percent of size, stopping at 0 and at size.
void Shift(win::LONG& low, win::LONG& high, int32_t size, int32_t percent)
{
    if (percent == 0)
        return;
    const int64_t delta = static_cast<int64_t>(size) * percent / 100;
    if (low + delta < 0) {
        high -= low;
        low = 0;
    } else if (high + delta > size) {
        low += size - high;
        high = size;
    } else {
        low += static_cast<win::LONG>(delta);
        high += static_cast<win::LONG>(delta);
    }
}

} // namespace

std::optional<win::RECT> ComputeAspectCrop(int32_t w, int32_t h, const AspectCropRequest& request)
{
    if (w <= 0 || h <= 0 || !(request.a > 0) || !(request.b > 0))
        return std::nullopt;
    win::RECT rect = CentredRectangle(w, h, request);
    ApplyMargin(rect, request.marginPercent);
    Shift(rect.left, rect.right, w, request.xOffsetPercent);
    Shift(rect.top, rect.bottom, h, request.yOffsetPercent);
    return rect;
}
