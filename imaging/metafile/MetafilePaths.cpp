// The player's paths, clipping and regions, all held in output pixels.
#include "imaging/metafile/MetafilePlayer.h"

#include <algorithm>

namespace metafile {
namespace {

// A clip of more elements than this is not made, so that no metafile makes its arithmetic run away.
constexpr int kMaxClipElements = 8192;

// The path with every figure closed (as filling closes them).
QPainterPath ClosedFigures(const QPainterPath& path)
{
    QPainterPath out;
    out.setFillRule(path.fillRule());
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (i > 0)
                out.closeSubpath();
            out.moveTo(e);
        } else if (e.isLineTo()) {
            out.lineTo(e);
        } else if (e.isCurveTo() && i + 2 < count) {
            out.cubicTo(e, path.elementAt(i + 1), path.elementAt(i + 2));
            i += 2;
        }
    }
    if (count > 0)
        out.closeSubpath();
    return out;
}

} // namespace

void MetafilePlayer::BeginPath()
{
    m_path = QPainterPath {};
    m_inPath = true;
    m_figureOpen = false;
    m_widened.reset();
}

void MetafilePlayer::EndPath(bool keep)
{
    m_inPath = false;
    m_figureOpen = false;
    if (!keep) {
        m_path = QPainterPath {};
        m_widened.reset();
    }
}

void MetafilePlayer::DrawPath(bool fill, bool stroke)
{
    if (m_inPath)
        return; // a path is drawn only once it is ended
    QPainterPath path = fill ? ClosedFigures(m_path) : m_path;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    Sync();
    if (m_widened) {
        // A widened path stands for its outline: filling it paints the outline with the brush.
        PenStyle outline = *m_widened;
        outline.colour = m_state.brush.colour;
        if (fill)
            m_canvas.Shape(m_path, outline, { false, 0, nullptr });
    } else {
        m_canvas.Shape(path, stroke ? Pen() : PenStyle { false, 0, 0 },
            fill ? Brush() : BrushStyle { false, 0, nullptr });
    }
    m_path = QPainterPath {};
    m_widened.reset();
}

void MetafilePlayer::SelectClipPath(ClipMode mode)
{
    if (m_inPath)
        return;
    QPainterPath path = ClosedFigures(m_path);
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    CombineClip(path, mode);
    m_path = QPainterPath {};
    m_widened.reset();
}

void MetafilePlayer::CombineClip(const QPainterPath& region, ClipMode mode)
{
    QPainterPath whole;
    whole.addRect(QRectF(-1, -1, m_width + 2.0, m_height + 2.0));
    const QPainterPath current = m_state.clip.value_or(whole);
    QPainterPath result;
    switch (mode) {
    case ClipMode::And:
        result = current.intersected(region);
        break;
    case ClipMode::Or:
        result = current.united(region);
        break;
    case ClipMode::Xor:
        result = current.united(region).subtracted(current.intersected(region));
        break;
    case ClipMode::Diff:
        result = current.subtracted(region);
        break;
    case ClipMode::Copy:
        result = region;
        break;
    }
    if (result.elementCount() > kMaxClipElements)
        return;
    m_state.clip = result;
    m_canvasStale = true;
}

void MetafilePlayer::ClipRectangle(double left, double top, double right, double bottom, ClipMode mode)
{
    QPainterPath rectangle;
    rectangle.addPolygon(QPolygonF({ QPointF(Out(left, top).x, Out(left, top).y),
        QPointF(Out(right, top).x, Out(right, top).y), QPointF(Out(right, bottom).x, Out(right, bottom).y),
        QPointF(Out(left, bottom).x, Out(left, bottom).y) }));
    rectangle.closeSubpath();
    CombineClip(rectangle, mode);
}

void MetafilePlayer::OffsetClip(double dx, double dy)
{
    if (!m_state.clip)
        return;
    const PointD from = Out(0, 0);
    const PointD to = Out(dx, dy);
    m_state.clip->translate(to.x - from.x, to.y - from.y);
    m_canvasStale = true;
}

QPainterPath MetafilePlayer::RegionPath(const std::vector<Box>& rectangles, bool logical) const
{
    // Logical units (a Windows metafile's regions) or the reference device's pixels.
    const auto out = [&](double x, double y) {
        constexpr double kLimit = 1 << 22;
        const PointD p = logical ? Out(x, y) : DeviceToOutput(m_output, { x, y });
        return QPointF(std::clamp(p.x, -kLimit, kLimit), std::clamp(p.y, -kLimit, kLimit));
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (size_t i = 0; i < rectangles.size() && i < kMaxRegionRectangles; ++i) {
        const Box& r = rectangles[i];
        path.addPolygon(QPolygonF(
            { out(r.left, r.top), out(r.right, r.top), out(r.right, r.bottom), out(r.left, r.bottom) }));
        path.closeSubpath();
    }
    return path;
}

void MetafilePlayer::FillRegion(const QPainterPath& region, const BrushStyle& brush)
{
    if (m_inPath)
        return;
    Sync();
    m_canvas.Shape(region, { false, 0, 0 }, brush);
}

void MetafilePlayer::FrameRegion(
    const QPainterPath& region, const BrushStyle& brush, double width, double height)
{
    // The frame is what is left of the region when it is shrunk by the frame's width and height.
    const double w = std::min(std::abs(width * PixelsPerUnit()), 16384.0);
    const double h
        = std::min(LengthToOutputY(m_state.mapping, m_output, height * m_state.world.Scale()), 16384.0);
    QPainterPath inner = region;
    for (const QPointF shift : { QPointF(w, 0), QPointF(-w, 0), QPointF(0, h), QPointF(0, -h) })
        inner = inner.intersected(region.translated(shift));
    FillRegion(region.subtracted(inner), brush);
}

void MetafilePlayer::InvertRegion(const QPainterPath& region)
{
    if (m_inPath)
        return;
    Sync();
    m_canvas.Rop2(kRop2Not);
    m_canvas.Shape(region, { false, 0, 0 }, { true, 0, nullptr });
    m_canvas.Rop2(m_state.rop2);
}

} // namespace metafile
