#include "imaging/metafile/MetafileGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile {
namespace {

constexpr double kTurn = 2 * std::numbers::pi;

// The ellipse's parameter where the ray from its centre towards p meets it.
double AngleOf(const Box& b, PointD p, double rx, double ry)
{
    const double dx = p.x - (b.left + b.right) / 2;
    const double dy = p.y - (b.top + b.bottom) / 2;
    return std::atan2(dy * rx, dx * ry);
}

// Points of the ellipse from angle a through sweep (angles grow clockwise as seen with y down).
std::vector<PointD> Sweep(PointD centre, double rx, double ry, double a, double sweep, int segmentsPerTurn)
{
    const int steps
        = static_cast<int>(std::clamp(std::ceil(std::abs(sweep) / kTurn * segmentsPerTurn), 1.0, 4096.0));
    std::vector<PointD> points;
    for (int i = 0; i <= steps; ++i) {
        const double t = a + sweep * i / steps;
        points.push_back({ centre.x + rx * std::cos(t), centre.y + ry * std::sin(t) });
    }
    return points;
}

} // namespace

std::vector<PointD> ArcPoints(const Box& b, PointD start, PointD end, bool clockwise, int segmentsPerTurn)
{
    const double rx = std::abs(b.right - b.left) / 2;
    const double ry = std::abs(b.bottom - b.top) / 2;
    const double a0 = AngleOf(b, start, rx, ry);
    const double a1 = AngleOf(b, end, rx, ry);
    // Counter-clockwise on a y-down plane is towards smaller angles.
    double sweep = clockwise ? a1 - a0 : a0 - a1;
    sweep = std::fmod(sweep, kTurn);
    if (sweep <= 1e-12)
        sweep += kTurn;
    return Sweep({ (b.left + b.right) / 2, (b.top + b.bottom) / 2 }, rx, ry, a0, clockwise ? sweep : -sweep,
        segmentsPerTurn);
}

std::vector<PointD> AngleArcPoints(
    PointD centre, double radius, double startDegrees, double sweepDegrees, int segmentsPerTurn)
{
    const double toRadians = std::numbers::pi / 180;
    return Sweep(centre, radius, radius, -startDegrees * toRadians,
        -std::clamp(sweepDegrees, -3600.0, 3600.0) * toRadians, segmentsPerTurn);
}

std::vector<PointD> RoundRectPoints(
    const Box& box, double cornerWidth, double cornerHeight, int segmentsPerTurn)
{
    const double left = std::min(box.left, box.right);
    const double right = std::max(box.left, box.right);
    const double top = std::min(box.top, box.bottom);
    const double bottom = std::max(box.top, box.bottom);
    const double rx = std::min(std::abs(cornerWidth), right - left) / 2;
    const double ry = std::min(std::abs(cornerHeight), bottom - top) / 2;
    const double quarter = kTurn / 4;
    std::vector<PointD> points;
    const PointD centres[] = { { right - rx, top + ry }, { right - rx, bottom - ry },
        { left + rx, bottom - ry }, { left + rx, top + ry } };
    // From the top right corner clockwise (as seen with y down): each corner a quarter turn on.
    for (int corner = 0; corner < 4; ++corner) {
        const auto arc = Sweep(centres[corner], rx, ry, (corner - 1) * quarter, quarter, segmentsPerTurn);
        points.insert(points.end(), arc.begin(), arc.end());
    }
    return points;
}

} // namespace metafile
