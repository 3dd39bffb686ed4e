#include "imaging/wrapper/AspectCrop.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The rectangle while it is worked on: 64 bits, so that margins and offsets far outside 0 to 100
// cannot overflow before the result is brought back to 32 bits.
struct Span {
    int64_t low;
    int64_t high;
};

// The largest centred rectangle of the ratio: the columns and the rows it keeps.
void CentredRectangle(int32_t w, int32_t h, double ratio, bool force, Span& columns, Span& rows)
{
    const bool portrait = h > w || force;
    const double v = portrait ? static_cast<double>(h) / w : static_cast<double>(w) / h;
    // Cutting columns keeps all rows, and the other way round.
    const bool cutColumns = portrait == (ratio > v);
    const double f = (ratio > v) ? (1 - v / ratio) * 0.5 : (1 - ratio / v) * 0.5;
    columns = { 0, w };
    rows = { 0, h };
    Span& cut = cutColumns ? columns : rows;
    const int32_t size = cutColumns ? w : h;
    cut = { static_cast<int64_t>(size * f), static_cast<int64_t>(size * (1 - f)) };
}

// Takes the margin off the span, keeping its centre.
void ApplyMargin(Span& span, int32_t marginPercent)
{
    const int64_t length = span.high - span.low;
    const auto newLength = static_cast<int64_t>(length * (100 - static_cast<double>(marginPercent)) / 100.0);
    span.low += (length - newLength) / 2;
    span.high = span.low + newLength;
}

// Moves the span by percent of size, stopping at 0 and at size.
void Shift(Span& span, int32_t size, int32_t percent)
{
    if (percent == 0)
        return;
    const int64_t delta = static_cast<int64_t>(size) * percent / 100;
    if (span.low + delta < 0) {
        span.high -= span.low;
        span.low = 0;
    } else if (span.high + delta > size) {
        span.low += size - span.high;
        span.high = size;
    } else {
        span.low += delta;
        span.high += delta;
    }
}

win::LONG Saturated(int64_t value)
{
    return static_cast<win::LONG>(std::clamp<int64_t>(
        value, std::numeric_limits<win::LONG>::min(), std::numeric_limits<win::LONG>::max()));
}

} // namespace

std::optional<win::RECT> ComputeAspectCrop(int32_t w, int32_t h, const AspectCropRequest& request)
{
    if (w <= 0 || h <= 0 || !(request.a > 0) || !(request.b > 0))
        return std::nullopt;
    const double ratio
        = (request.a > request.b || request.force) ? request.a / request.b : request.b / request.a;
    // Infinite sides, or sides so far apart that their quotient overflows or vanishes, give no ratio.
    if (!std::isfinite(ratio) || !(ratio > 0))
        return std::nullopt;
    Span columns {};
    Span rows {};
    CentredRectangle(w, h, ratio, request.force, columns, rows);
    ApplyMargin(columns, request.marginPercent);
    ApplyMargin(rows, request.marginPercent);
    Shift(columns, w, request.xOffsetPercent);
    Shift(rows, h, request.yOffsetPercent);
    return win::RECT { Saturated(columns.low), Saturated(rows.low), Saturated(columns.high),
        Saturated(rows.high) };
}
