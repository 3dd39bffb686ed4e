#include "imaging/metafile/MetafileMapping.h"

#include <cmath>

namespace metafile {
namespace {

// Device pixels per logical unit along each axis, y negative when the mode counts y upward.
PointD Scale(const Mapping& m, const Output& o)
{
    const auto safe = [](double v) { return v == 0 ? 1.0 : v; };
    switch (m.mode) {
    case kMapLoMetric:
        return { o.pixelsPerMmX / 10, -o.pixelsPerMmY / 10 };
    case kMapHiMetric:
        return { o.pixelsPerMmX / 100, -o.pixelsPerMmY / 100 };
    case kMapLoEnglish:
        return { o.pixelsPerMmX * 0.254, -o.pixelsPerMmY * 0.254 };
    case kMapHiEnglish:
        return { o.pixelsPerMmX * 0.0254, -o.pixelsPerMmY * 0.0254 };
    case kMapTwips:
        return { o.pixelsPerMmX * 25.4 / 1440, -o.pixelsPerMmY * 25.4 / 1440 };
    case kMapIsotropic: {
        const double sx = m.viewportExt.x / safe(m.windowExt.x);
        const double sy = m.viewportExt.y / safe(m.windowExt.y);
        const double s = std::min(std::abs(sx), std::abs(sy));
        return { std::copysign(s, sx), std::copysign(s, sy) };
    }
    case kMapAnisotropic:
        return { m.viewportExt.x / safe(m.windowExt.x), m.viewportExt.y / safe(m.windowExt.y) };
    default:
        return { 1, 1 };
    }
}

} // namespace

PointD ToOutput(const Mapping& m, const Output& o, PointD p)
{
    const PointD s = Scale(m, o);
    const PointD device { (p.x - m.windowOrg.x) * s.x + m.viewportOrg.x,
        (p.y - m.windowOrg.y) * s.y + m.viewportOrg.y };
    return DeviceToOutput(o, device);
}

PointD DeviceToOutput(const Output& o, PointD device)
{
    return { (device.x - o.origin.x) * o.scale.x, (device.y - o.origin.y) * o.scale.y };
}

double LengthToOutputX(const Mapping& m, const Output& o, double logical)
{
    return std::abs(logical * Scale(m, o).x * o.scale.x);
}

double LengthToOutputY(const Mapping& m, const Output& o, double logical)
{
    return std::abs(logical * Scale(m, o).y * o.scale.y);
}

double ScaledExtent(double extent, int32_t numerator, int32_t denominator)
{
    return denominator == 0 ? extent : std::trunc(extent * numerator / denominator);
}

} // namespace metafile
