// The player's drawing: shapes, lines, text and pictures built in output pixels and handed to the
// canvas, or added to the path being recorded.
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RasterOperation.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace metafile {
namespace {

QPointF Q(PointD p)
{
    return { p.x, p.y };
}

constexpr uint8_t kSourceCopyIndex = 0xCC;

// The binary raster operation a blit's ternary one amounts to for its source (by the operation's
// index, its third byte); nullopt for one that takes more than the source and the picture.
std::optional<int> SourceRop2(uint32_t rop)
{
    switch (RopIndex(rop)) {
    case kSourceCopyIndex:
        return kRop2CopyPen;
    case 0xEE: // source or destination
        return 15;
    case 0x88: // source and destination
        return 9;
    case 0x66: // source xor destination
        return kRop2Xor;
    case 0x44: // source and not destination
        return 5;
    case 0x33: // not source
        return 4;
    case 0x11: // not (source or destination)
        return 2;
    case 0xBB: // not source or destination
        return 12;
    default:
        return std::nullopt;
    }
}

// The part of a picture's source rectangle that lies inside the picture (its top counted from the
// picture's top row), and the part of the destination it goes to, at the same scale.
struct PicturePart {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    PointD corner;
    PointD opposite;
};

// The source's y counts from the first row stored (the bottom row of a bottom-up picture) unless
// the record takes its source as a device, from the top.
std::optional<PicturePart> PartInside(
    const gdi::DibView& view, const MetafilePlayer::Source& s, PointD corner, PointD opposite)
{
    if (s.width <= 0 || s.height <= 0)
        return std::nullopt;
    const int64_t rows = static_cast<int64_t>(view.Rows());
    const int64_t top = s.fromTop || view.TopDown() ? int64_t(s.y) : rows - (int64_t(s.y) + s.height);
    const int64_t left = std::max<int64_t>(s.x, 0);
    const int64_t right = std::min<int64_t>(int64_t(s.x) + s.width, view.width);
    const int64_t first = std::max<int64_t>(top, 0);
    const int64_t last = std::min<int64_t>(top + s.height, rows);
    if (left >= right || first >= last)
        return std::nullopt;
    const double perX = (opposite.x - corner.x) / s.width;
    const double perY = (opposite.y - corner.y) / s.height;
    return PicturePart { int(left), int(first), int(right - left), int(last - first),
        { corner.x + double(left - s.x) * perX, corner.y + double(first - top) * perY },
        { corner.x + double(right - s.x) * perX, corner.y + double(last - top) * perY } };
}

} // namespace

void MetafilePlayer::Sync()
{
    if (!m_canvasStale)
        return;
    m_canvas.Clip(m_state.clip);
    m_canvas.Rop2(m_state.rop2);
    m_canvasStale = false;
}

void MetafilePlayer::Emit(const QPainterPath& path, bool filled)
{
    if (m_inPath) {
        m_path.addPath(path);
        m_figureOpen = false;
        return;
    }
    Sync();
    m_canvas.Shape(path, Pen(), filled ? Brush() : BrushStyle { false, 0, nullptr });
}

void MetafilePlayer::DrawPolygons(const std::vector<std::vector<PointD>>& logical)
{
    QPainterPath path;
    path.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const auto& polygon : logical) {
        if (polygon.empty())
            continue;
        path.moveTo(Q(Out(polygon[0])));
        for (size_t i = 1; i < polygon.size(); ++i)
            path.lineTo(Q(Out(polygon[i])));
        path.closeSubpath();
    }
    Emit(path, true);
}

void MetafilePlayer::DrawLines(std::vector<PointD> logical, bool bezier, bool fromPosition)
{
    if (fromPosition) {
        logical.insert(logical.begin(), m_state.position);
        m_state.position = logical.back();
    }
    if (logical.empty())
        return;
    // In a path, lines from the current position go on with the open figure, and the figure is
    // built in the path itself: a figure whose lines so far have no length (which a path of its own
    // would drop as empty) keeps its start point for the lines that follow.
    QPainterPath fresh;
    QPainterPath& path = m_inPath ? m_path : fresh;
    if (!(m_inPath && fromPosition && m_figureOpen))
        path.moveTo(Q(Out(logical[0])));
    if (bezier)
        for (size_t i = 1; i + 2 < logical.size(); i += 3)
            path.cubicTo(Q(Out(logical[i])), Q(Out(logical[i + 1])), Q(Out(logical[i + 2])));
    else
        for (size_t i = 1; i < logical.size(); ++i)
            path.lineTo(Q(Out(logical[i])));
    if (m_inPath) {
        m_figureOpen = fromPosition;
        return;
    }
    Sync();
    m_canvas.Shape(path, Pen(), { false, 0, nullptr });
}

void MetafilePlayer::LineTo(double x, double y)
{
    DrawLines({ { x, y } }, false, true);
}

void MetafilePlayer::DrawRectangle(double left, double top, double right, double bottom)
{
    DrawPolygons({ { { left, top }, { right, top }, { right, bottom }, { left, bottom } } });
}

void MetafilePlayer::DrawEllipse(const Box& b)
{
    // Four cubic segments, built in logical units so that any transform maps them exactly.
    constexpr double kKappa = 0.5522847498;
    const double cx = (b.left + b.right) / 2;
    const double cy = (b.top + b.bottom) / 2;
    const double kx = (b.right - b.left) / 2 * kKappa;
    const double ky = (b.bottom - b.top) / 2 * kKappa;
    QPainterPath path;
    path.moveTo(Q(Out(b.right, cy)));
    path.cubicTo(Q(Out(b.right, cy + ky)), Q(Out(cx + kx, b.bottom)), Q(Out(cx, b.bottom)));
    path.cubicTo(Q(Out(cx - kx, b.bottom)), Q(Out(b.left, cy + ky)), Q(Out(b.left, cy)));
    path.cubicTo(Q(Out(b.left, cy - ky)), Q(Out(cx - kx, b.top)), Q(Out(cx, b.top)));
    path.cubicTo(Q(Out(cx + kx, b.top)), Q(Out(b.right, cy - ky)), Q(Out(b.right, cy)));
    path.closeSubpath();
    Emit(path, true);
}

void MetafilePlayer::DrawArc(const Box& box, PointD start, PointD end, ArcClosing closing, bool fromPosition)
{
    // The arc direction holds on the picture: a mapping that mirrors turns it in logical units.
    const PointD o = Out(0, 0);
    const PointD ex = Out(1, 0);
    const PointD ey = Out(0, 1);
    const bool mirrored = (ex.x - o.x) * (ey.y - o.y) - (ex.y - o.y) * (ey.x - o.x) < 0;
    const double radius = std::max(std::abs(box.right - box.left), std::abs(box.bottom - box.top)) / 2;
    std::vector<PointD> points
        = ArcPoints(box, start, end, m_state.clockwise != mirrored, SegmentsPerTurn(radius));
    if (closing == ArcClosing::Open) {
        DrawLines(std::move(points), false, fromPosition);
        return;
    }
    if (closing == ArcClosing::Pie)
        points.insert(points.begin(), { (box.left + box.right) / 2, (box.top + box.bottom) / 2 });
    DrawPolygons({ points });
}

void MetafilePlayer::DrawRoundRect(const Box& box, double cornerWidth, double cornerHeight)
{
    const double radius = std::max(std::abs(cornerWidth), std::abs(cornerHeight)) / 2;
    DrawPolygons({ RoundRectPoints(box, cornerWidth, cornerHeight, SegmentsPerTurn(radius)) });
}

void MetafilePlayer::SetPixel(double x, double y, win::COLORREF colour)
{
    if (m_inPath)
        return;
    const PointD p = Out(x, y);
    QPainterPath pixel;
    pixel.addRect(QRectF(std::floor(p.x), std::floor(p.y), 1, 1));
    Sync();
    m_canvas.Shape(pixel, { false, 0, 0 }, { true, colour & 0xFFFFFF, nullptr });
}

void MetafilePlayer::DrawText(const TextRun& run)
{
    constexpr int kUpdatePosition = 1;
    constexpr int kRight = 2;
    constexpr int kCentre = 6;
    constexpr int kBottom = 8;
    constexpr int kBaseline = 24;
    constexpr int kDefaultFontPixels = 16;
    const int align = m_state.textAlign;
    const bool update = (align & kUpdatePosition) != 0;
    const PointD at = update ? m_state.position : run.at;
    FontStyle font;
    font.face = m_state.font.face.isEmpty() ? QStringLiteral("Arial") : m_state.font.face;
    const double height
        = LengthToOutputY(m_state.mapping, m_output, m_state.font.height * m_state.world.Scale());
    font.height
        = m_state.font.height == 0 || !std::isfinite(height) ? kDefaultFontPixels : std::min(height, 16384.0);
    font.weight = m_state.font.weight;
    font.italic = m_state.font.italic;
    font.underline = m_state.font.underline;
    font.strikeOut = m_state.font.strikeOut;
    font.angle = m_state.font.angle;
    TextPlacement placement;
    placement.centre = (align & kCentre) == kCentre;
    placement.right = !placement.centre && (align & kRight);
    placement.baseline = (align & kBaseline) == kBaseline;
    placement.bottom = !placement.baseline && (align & kBottom);
    placement.opaque = m_state.opaqueBackground;
    placement.background = m_state.backgroundColour;
    const double perUnit = PixelsPerUnit();
    for (const double advance : run.advances)
        placement.advances.push_back(std::clamp(advance * perUnit, -16384.0, 16384.0));
    if (!m_inPath)
        PutText(run, Out(at), font, placement);
    if (!update)
        return;
    // The current position moves past the text, along its escapement.
    double width = run.advances.empty() ? (perUnit > 0 ? TextRunWidth(run, font) / perUnit : 0)
                                        : std::accumulate(run.advances.begin(), run.advances.end(), 0.0);
    if (placement.centre)
        width = 0;
    else if (placement.right)
        width = -width;
    const double angle = font.angle * std::numbers::pi / 180;
    m_state.position = { at.x + width * std::cos(angle), at.y - width * std::sin(angle) };
}

void MetafilePlayer::DrawDib(
    const Bytes& dib, PointD corner, PointD opposite, Source source, uint32_t rop, PictureStyle style)
{
    DibPicture picture;
    if (m_inPath || !ReadDib(dib.data(), dib.size(), picture))
        return;
    if (source.fromTop && picture.view.bitsPerPixel == 1) {
        // A one-bit source taken from a device: its 0 bits in the text colour, its 1 bits in the
        // background colour.
        const auto quad = [](win::COLORREF c) {
            return gdi::RGBQUAD { win::GetBValue(c), win::GetGValue(c), win::GetRValue(c), 0 };
        };
        picture.colours = { quad(m_state.textColour), quad(m_state.backgroundColour) };
        picture.view.palette = picture.colours.data();
        picture.view.paletteEntries = picture.colours.size();
    }
    const auto part = PartInside(picture.view, source, corner, opposite);
    if (!part)
        return;
    const std::optional<int> sourceRop2 = SourceRop2(rop);
    if (!sourceRop2) {
        RasterBlitOf(
            rop, part->corner, part->opposite, &picture.view, part->x, part->y, part->width, part->height);
        return;
    }
    Sync();
    const int rop2 = *sourceRop2;
    if (rop2 != m_state.rop2)
        m_canvas.Rop2(rop2);
    style.smooth = m_state.smoothStretch;
    style.sourceAlpha = style.sourceAlpha || picture.sparse;
    m_canvas.Picture(
        part->corner, part->opposite, picture.view, part->x, part->y, part->width, part->height, style);
    if (rop2 != m_state.rop2)
        m_canvas.Rop2(m_state.rop2);
}

void MetafilePlayer::DrawDibLogical(
    const Bytes& dib, double x, double y, double width, double height, Source source, uint32_t rop)
{
    DrawDib(dib, Out(x, y), Out(x + width, y + height), source, rop);
}

bool MetafilePlayer::FillBlit(uint32_t rop, double x, double y, double width, double height)
{
    // What fills, and how it combines with the picture.
    constexpr uint32_t kPatCopy = 0x00F00021;
    constexpr uint32_t kPatInvert = 0x005A0049;
    constexpr uint32_t kDstInvert = 0x00550009;
    constexpr uint32_t kBlackness = 0x00000042;
    constexpr uint32_t kWhiteness = 0x00FF0062;
    constexpr uint32_t kDestination = 0x00AA0029;
    BrushStyle brush { true, 0, nullptr };
    int rop2 = kRop2CopyPen;
    switch (rop) {
    case kPatCopy:
        brush = Brush();
        break;
    case kPatInvert:
        brush = Brush();
        rop2 = kRop2Xor;
        break;
    case kDstInvert:
        rop2 = kRop2Not;
        break;
    case kBlackness:
        rop2 = kRop2Black;
        break;
    case kWhiteness:
        rop2 = kRop2White;
        break;
    case kDestination: // the picture left as it is
        return true;
    default:
        return RasterBlitOf(rop, Out(x, y), Out(x + width, y + height));
    }
    if (m_inPath)
        return true;
    QPainterPath path;
    path.moveTo(Q(Out(x, y)));
    path.lineTo(Q(Out(x + width, y)));
    path.lineTo(Q(Out(x + width, y + height)));
    path.lineTo(Q(Out(x, y + height)));
    path.closeSubpath();
    Sync();
    if (rop2 != m_state.rop2)
        m_canvas.Rop2(rop2);
    m_canvas.Shape(path, { false, 0, 0 }, brush);
    if (rop2 != m_state.rop2)
        m_canvas.Rop2(m_state.rop2);
    return true;
}

} // namespace metafile
