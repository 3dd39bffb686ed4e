#include "imaging/metafile/MetafilePlayer.h"

#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cmath>

namespace metafile {
namespace {

constexpr size_t kMaxSavedStates = 4096;
constexpr int kDefaultFontPixels = 16;

uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// The size of a packed DIB's header and colour table, with the view of its pixels; false when the
// header is of a kind the canvas cannot draw or the bits do not fit.
bool ReadDib(const uint8_t* dib, uint64_t size, gdi::DibView& view, std::vector<gdi::RGBQUAD>& colours)
{
    if (size < 40)
        return false;
    const uint32_t headerSize = Get32(dib);
    const int32_t width = static_cast<int32_t>(Get32(dib + 4));
    const int32_t height = static_cast<int32_t>(Get32(dib + 8));
    const int bpp = dib[14] | (dib[15] << 8);
    const uint32_t compression = Get32(dib + 16);
    const uint32_t used = Get32(dib + 32);
    if (headerSize < 40 || headerSize > size || compression != 0 || width <= 0 || height == 0
        || height == INT32_MIN)
        return false;
    const uint64_t entries = bpp <= 8 ? (used != 0 && used <= (1u << bpp) ? used : (1u << bpp)) : used;
    const uint64_t bitsAt = uint64_t(headerSize) + entries * 4;
    if (entries > 256 || bitsAt > size)
        return false;
    colours.assign(static_cast<size_t>(entries), {});
    for (size_t i = 0; i < colours.size(); ++i) {
        const uint8_t* q = dib + headerSize + 4 * i;
        colours[i] = { q[0], q[1], q[2], 0 };
    }
    view.width = width;
    view.height = height;
    view.bitsPerPixel = bpp;
    view.palette = colours.data();
    view.paletteEntries = colours.size();
    view.bits = dib + bitsAt;
    view.bitsSize = static_cast<size_t>(size - bitsAt);
    return view.IsValid();
}

} // namespace

Transform Transform::Then(const Transform& n) const
{
    return { m11 * n.m11 + m12 * n.m21, m11 * n.m12 + m12 * n.m22, m21 * n.m11 + m22 * n.m21,
        m21 * n.m12 + m22 * n.m22, dx * n.m11 + dy * n.m21 + n.dx, dx * n.m12 + dy * n.m22 + n.dy };
}

double Transform::Scale() const
{
    return std::sqrt(std::abs(m11 * m22 - m12 * m21));
}

MetafilePlayer::MetafilePlayer(const Metafile& metafile, MetafileCanvas& canvas, int width, int height)
    : m_metafile(metafile)
    , m_canvas(canvas)
    , m_objects(metafile.handles)
    , m_used(metafile.handles, false)
{
    const Rect& b = metafile.bounds;
    if (metafile.kind == Kind::Emf) {
        // The frame (0.01 mm) in reference device pixels is fitted into the picture.
        const auto perMm = [](int32_t pixels, int32_t mm) {
            return mm > 0 && pixels > 0 ? double(pixels) / mm : 96 / 25.4;
        };
        m_output.pixelsPerMmX = perMm(metafile.deviceWidth, metafile.deviceWidthMm);
        m_output.pixelsPerMmY = perMm(metafile.deviceHeight, metafile.deviceHeightMm);
        const double frameWidth = (double(b.right) - b.left) / 100 * m_output.pixelsPerMmX;
        const double frameHeight = (double(b.bottom) - b.top) / 100 * m_output.pixelsPerMmY;
        m_output.origin = { b.left / 100.0 * m_output.pixelsPerMmX, b.top / 100.0 * m_output.pixelsPerMmY };
        m_output.scale
            = { frameWidth > 0 ? width / frameWidth : 1, frameHeight > 0 ? height / frameHeight : 1 };
        return;
    }
    // A Windows metafile's window is fitted into the picture: the placeable box, or the picture's
    // own size until the records set a window.
    m_state.mapping.mode = kMapAnisotropic;
    m_state.mapping.viewportExt = { double(width), double(height) };
    if (metafile.kind == Kind::PlaceableWmf) {
        m_state.mapping.windowOrg = { double(b.left), double(b.top) };
        m_state.mapping.windowExt = { double(b.right) - b.left, double(b.bottom) - b.top };
    } else {
        m_state.mapping.windowExt = { double(width), double(height) };
    }
}

void MetafilePlayer::Play()
{
    for (const Record& record : m_metafile.records) {
        bool played = false;
        try {
            played = m_metafile.kind == Kind::Emf ? PlayEmf(record) : PlayWmf(record);
        } catch (const PLTextException&) {
            played = false; // too short for its parameters
        }
        ++(played ? m_played : m_skipped);
    }
}

void MetafilePlayer::AddObject(GdiObject object)
{
    const auto free = std::find(m_used.begin(), m_used.end(), false);
    if (free == m_used.end())
        return; // the table is full: the object is lost, as the header promised no more
    PutObject(static_cast<uint32_t>(free - m_used.begin()), std::move(object));
}

void MetafilePlayer::PutObject(uint32_t index, GdiObject object)
{
    if (index >= m_objects.size())
        return;
    m_objects[index] = std::move(object);
    m_used[index] = true;
}

void MetafilePlayer::SelectObject(uint32_t index)
{
    if (index >= m_objects.size() || !m_used[index])
        return;
    const GdiObject& object = m_objects[index];
    if (const auto* pen = std::get_if<LogPen>(&object))
        m_state.pen = *pen;
    else if (const auto* brush = std::get_if<LogBrush>(&object))
        m_state.brush = *brush;
    else if (const auto* font = std::get_if<LogFont>(&object))
        m_state.font = *font;
}

void MetafilePlayer::SelectStockObject(uint32_t index)
{
    static constexpr uint8_t kGreys[] = { 255, 192, 128, 64, 0 };
    if (index <= 4)
        m_state.brush = { true, win::RGB(kGreys[index], kGreys[index], kGreys[index]) };
    else if (index == 5)
        m_state.brush.visible = false;
    else if (index == 6 || index == 7)
        m_state.pen = { true, index == 6 ? win::RGB(255, 255, 255) : 0, 0 };
    else if (index == 8)
        m_state.pen.visible = false;
    else if (index >= 10 && index <= 17)
        m_state.font = LogFont {};
}

void MetafilePlayer::DeleteObject(uint32_t index)
{
    if (index < m_objects.size()) {
        m_objects[index] = std::monostate {};
        m_used[index] = false;
    }
}

void MetafilePlayer::SaveState()
{
    if (m_saved.size() < kMaxSavedStates)
        m_saved.push_back(m_state);
}

void MetafilePlayer::RestoreState(int relative)
{
    // -1 is the state saved last; a positive number counts from the first saved.
    const int64_t count = static_cast<int64_t>(m_saved.size());
    const int64_t keep = relative < 0 ? count + relative : int64_t(relative) - 1;
    if (keep < 0 || keep >= count)
        return;
    m_state = m_saved[static_cast<size_t>(keep)];
    m_saved.resize(static_cast<size_t>(keep));
}

PointD MetafilePlayer::Out(double x, double y) const
{
    // Points far outside the picture are brought closer, so that no shape makes the painter work
    // through a plane of astronomical size (shapes reaching that far are drawn approximately).
    constexpr double kLimit = 1 << 22;
    const Transform& w = m_state.world;
    const PointD page { x * w.m11 + y * w.m21 + w.dx, x * w.m12 + y * w.m22 + w.dy };
    const PointD p = ToOutput(m_state.mapping, m_output, page);
    return { std::clamp(p.x, -kLimit, kLimit), std::clamp(p.y, -kLimit, kLimit) };
}

PenStyle MetafilePlayer::Pen() const
{
    const double width
        = LengthToOutputX(m_state.mapping, m_output, m_state.pen.width * m_state.world.Scale());
    return { m_state.pen.visible, m_state.pen.colour, std::isfinite(width) ? std::min(width, 16384.0) : 0 };
}

BrushStyle MetafilePlayer::Brush() const
{
    return { m_state.brush.visible, m_state.brush.colour };
}

void MetafilePlayer::DrawPolygons(const std::vector<std::vector<PointD>>& logical)
{
    std::vector<std::vector<PointD>> polygons;
    for (const auto& polygon : logical) {
        std::vector<PointD> out;
        for (const PointD& p : polygon)
            out.push_back(Out(p.x, p.y));
        polygons.push_back(std::move(out));
    }
    m_canvas.Polygons(polygons, Pen(), Brush(), m_state.winding);
}

void MetafilePlayer::DrawPolyline(const std::vector<PointD>& logical)
{
    std::vector<PointD> out;
    for (const PointD& p : logical)
        out.push_back(Out(p.x, p.y));
    m_canvas.Polyline(out, Pen());
}

void MetafilePlayer::DrawRectangle(double left, double top, double right, double bottom)
{
    DrawPolygons({ { { left, top }, { right, top }, { right, bottom }, { left, bottom } } });
}

void MetafilePlayer::DrawEllipse(double left, double top, double right, double bottom)
{
    m_canvas.Ellipse(Out(left, top), Out(right, bottom), Pen(), Brush());
}

void MetafilePlayer::LineTo(double x, double y)
{
    DrawPolyline({ m_state.position, { x, y } });
    m_state.position = { x, y };
}

void MetafilePlayer::DrawText(double x, double y, const QString& text)
{
    constexpr int kUpdatePosition = 1;
    constexpr int kRight = 2;
    constexpr int kCentre = 6;
    constexpr int kBottom = 8;
    constexpr int kBaseline = 24;
    const int align = m_state.textAlign;
    const PointD at = (align & kUpdatePosition) ? Out(m_state.position.x, m_state.position.y) : Out(x, y);
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
    m_canvas.Text(at, text, font, m_state.textColour, placement);
}

void MetafilePlayer::DrawDib(const uint8_t* dib, uint64_t size, double x, double y, double width,
    double height, int srcX, int srcY, int srcWidth, int srcHeight, bool srcFromTop)
{
    gdi::DibView view;
    std::vector<gdi::RGBQUAD> colours;
    if (!ReadDib(dib, size, view, colours))
        return;
    const int64_t rows = static_cast<int64_t>(view.Rows());
    const int64_t top = srcFromTop ? int64_t(srcY) : rows - (int64_t(srcY) + srcHeight);
    if (srcX < 0 || srcWidth <= 0 || srcHeight <= 0 || top < 0 || int64_t(srcX) + srcWidth > view.width
        || top + srcHeight > rows)
        return;
    m_canvas.Picture(
        Out(x, y), Out(x + width, y + height), view, srcX, static_cast<int>(top), srcWidth, srcHeight);
}

bool MetafilePlayer::FillBlit(uint32_t rop, double x, double y, double width, double height)
{
    constexpr uint32_t kPatCopy = 0x00F00021;
    constexpr uint32_t kWhiteness = 0x00FF0062;
    constexpr uint32_t kBlackness = 0x00000042;
    BrushStyle brush = Brush();
    if (rop == kWhiteness || rop == kBlackness)
        brush = { true, rop == kWhiteness ? win::RGB(255, 255, 255) : 0 };
    else if (rop != kPatCopy)
        return false;
    const std::vector<PointD> corners { Out(x, y), Out(x + width, y), Out(x + width, y + height),
        Out(x, y + height) };
    m_canvas.Polygons({ corners }, { false, 0, 0 }, brush, false);
    return true;
}

void MetafilePlayer::DrawBeziers(const std::vector<PointD>& points)
{
    constexpr int kSteps = 16;
    if (points.empty())
        return;
    std::vector<PointD> line { points[0] };
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
        const PointD p0 = points[i - 1];
        const PointD p1 = points[i];
        const PointD p2 = points[i + 1];
        const PointD p3 = points[i + 2];
        for (int step = 1; step <= kSteps; ++step) {
            const double t = double(step) / kSteps;
            const double u = 1 - t;
            const double a = u * u * u;
            const double b = 3 * u * u * t;
            const double c = 3 * u * t * t;
            const double d = t * t * t;
            line.push_back(
                { a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y });
        }
    }
    DrawPolyline(line);
}

} // namespace metafile
