#include "imaging/metafile/MetafilePlayer.h"

#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cmath>

namespace metafile {
namespace {

constexpr size_t kMaxSavedStates = 4096;

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
    , m_width(width)
    , m_height(height)
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

const GdiObject* MetafilePlayer::Object(uint32_t index) const
{
    return index < m_objects.size() && m_used[index] ? &m_objects[index] : nullptr;
}

namespace {

// The stock brushes: white, light grey, grey, dark grey, black and the null brush.
std::optional<LogBrush> StockBrush(uint32_t index)
{
    static constexpr uint8_t kGreys[] = { 255, 192, 128, 64, 0 };
    if (index <= 4)
        return LogBrush { true, win::RGB(kGreys[index], kGreys[index], kGreys[index]), nullptr };
    if (index == 5)
        return LogBrush { false, 0, nullptr };
    return std::nullopt;
}

} // namespace

std::optional<BrushStyle> MetafilePlayer::BrushObject(uint32_t index, bool stock) const
{
    if (stock) {
        const auto brush = StockBrush(index);
        return brush ? std::optional(BrushOf(*brush)) : std::nullopt;
    }
    const GdiObject* object = Object(index);
    const auto* brush = object ? std::get_if<LogBrush>(object) : nullptr;
    return brush ? std::optional(BrushOf(*brush)) : std::nullopt;
}

void MetafilePlayer::SelectStockObject(uint32_t index)
{
    if (const auto brush = StockBrush(index))
        m_state.brush = *brush;
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
    m_canvasStale = true; // the clip and raster operation come back with the state
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

double MetafilePlayer::PixelsPerUnit() const
{
    const double pixels = LengthToOutputX(m_state.mapping, m_output, m_state.world.Scale());
    return std::isfinite(pixels) ? pixels : 0;
}

int MetafilePlayer::SegmentsPerTurn(double radius) const
{
    // About one segment for every two pixels of the circumference, at least a few.
    const double pixels = std::abs(radius) * PixelsPerUnit();
    return std::isfinite(pixels) ? static_cast<int>(std::clamp(pixels * 3, 16.0, 1024.0)) : 16;
}

PenStyle MetafilePlayer::Pen() const
{
    const LogPen& pen = m_state.pen;
    const double width = pen.width * PixelsPerUnit();
    PenStyle style { pen.visible, pen.colour, std::isfinite(width) ? std::min(width, 16384.0) : 0, pen.cap,
        pen.join, m_state.miterLimit };
    style.dashes = Dashes(style.width);
    if (!style.dashes.empty() && m_state.opaqueBackground)
        style.gapColour = m_state.backgroundColour;
    return style;
}

std::vector<double> MetafilePlayer::Dashes(double width) const
{
    const LogPen& pen = m_state.pen;
    if (pen.style == kPenUserStyle)
        return UserDashLengths(pen.userLengths, pen.geometric ? PixelsPerUnit() : 1);
    // A pen of the older records wider than a pixel is drawn solid whatever its style.
    if (!pen.geometric && width > 1)
        return {};
    return DashLengths(pen.style, pen.geometric ? std::max(width, 1.0) : kCosmeticDot);
}

BrushStyle MetafilePlayer::BrushOf(const LogBrush& brush) const
{
    if (brush.monochrome && brush.pattern)
        return { brush.visible, brush.colour, Coloured(brush.pattern) };
    if (brush.hatch) {
        const auto background
            = m_state.opaqueBackground ? std::optional(m_state.backgroundColour) : std::nullopt;
        return { brush.visible, brush.colour, m_hatches.Get(*brush.hatch, brush.colour, background) };
    }
    return { brush.visible, brush.colour, brush.pattern };
}

std::shared_ptr<const Pattern> MetafilePlayer::Coloured(const std::shared_ptr<const Pattern>& pattern) const
{
    ColouredPattern& c = m_coloured;
    const win::COLORREF text = m_state.textColour;
    const win::COLORREF background = m_state.backgroundColour;
    if (c.monochrome == pattern && c.text == text && c.background == background)
        return c.coloured;
    auto coloured = std::make_shared<Pattern>(*pattern);
    for (win::COLORREF& pixel : coloured->pixels)
        pixel = pixel == 0 ? text : background;
    c = { pattern, text, background, std::move(coloured) };
    return c.coloured;
}

BrushStyle MetafilePlayer::Brush() const
{
    return BrushOf(m_state.brush);
}

} // namespace metafile
