// The records of an enhanced metafile that put down pictures and blits, record and use paths, clip
// and paint regions. Offsets are those of the parameters, after the record's type and size.
#include "imaging/metafile/EmfRecordTypes.h"
#include "imaging/metafile/MetafilePlayer.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace metafile {
namespace {

// The rectangles of region data (a header of 32 bytes, then the rectangles) at offset, in the
// reference device's pixels; size is what the record says the data takes.
std::vector<Box> RegionRectangles(const Params& p, size_t offset, uint32_t size)
{
    const uint32_t count = p.U32(offset + 8);
    if (size < 32 || uint64_t(count) * 16 > size - 32)
        return {};
    p.Bytes(offset + 32, uint64_t(count) * 16);
    std::vector<Box> rectangles;
    for (uint32_t i = 0; i < count && i < kMaxRegionRectangles; ++i) {
        const size_t at = offset + 32 + 16 * size_t(i);
        rectangles.push_back(
            { double(p.I32(at)), double(p.I32(at + 4)), double(p.I32(at + 8)), double(p.I32(at + 12)) });
    }
    return rectangles;
}

// A blit's source rectangle in the bitmap's pixels: the rectangle the record gives, through the
// scale and translation of the source transform that follows it (m11, m12, m21, m22, dx, dy as
// floats at offset 44); a rotation or shear in it is left out. A transform that is not finite or
// collapses the rectangle is taken as none.
MetafilePlayer::Source TransformedSource(const Params& p, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0)
        return { x, y, width, height, true };
    const auto value = [&p](size_t offset) { return double(std::bit_cast<float>(p.U32(offset))); };
    double m11 = value(44), m22 = value(56), dx = value(60), dy = value(64);
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(m11) || !finite(m22) || !finite(dx) || !finite(dy) || m11 == 0 || m22 == 0) {
        m11 = m22 = 1;
        dx = dy = 0;
    }
    // Ends are rounded to whole pixels; the limit keeps every size an int.
    const auto pixel = [](double v) { return static_cast<int>(std::lround(std::clamp(v, -1e9, 1e9))); };
    const double x0 = x * m11 + dx, x1 = (x + double(width)) * m11 + dx;
    const double y0 = y * m22 + dy, y1 = (y + double(height)) * m22 + dy;
    const int left = pixel(std::min(x0, x1));
    const int top = pixel(std::min(y0, y1));
    return { left, top, pixel(std::max(x0, x1)) - left, pixel(std::max(y0, y1)) - top, true };
}

std::optional<ClipMode> ModeOf(uint32_t mode)
{
    if (mode < 1 || mode > 5)
        return std::nullopt;
    return static_cast<ClipMode>(mode);
}

} // namespace

bool MetafilePlayer::PlayEmfBlit(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::BitBlt:
    case emr::StretchBlt:
    case emr::AlphaBlend: {
        const int32_t x = p.I32(16);
        const int32_t y = p.I32(20);
        const int32_t width = p.I32(24);
        const int32_t height = p.I32(28);
        const uint32_t rop = p.U32(32);
        if (p.U32(80) == 0) // no picture
            return record.type != emr::AlphaBlend && FillBlit(rop, x, y, width, height);
        const Bytes dib = JoinedDib(p, p.U32(76), p.U32(80), p.U32(84), p.U32(88));
        const bool stretch = record.type != emr::BitBlt;
        const Source source = TransformedSource(
            p, p.I32(36), p.I32(40), stretch ? p.I32(92) : width, stretch ? p.I32(96) : height);
        if (record.type != emr::AlphaBlend) {
            DrawDibLogical(dib, x, y, width, height, source, rop);
            return true;
        }
        // The blend function: the whole picture's opacity, and whether its pixels carry their own.
        constexpr uint8_t kSourceAlpha = 1;
        PictureStyle style;
        style.constantAlpha = p.U8(34);
        style.sourceAlpha = p.U8(35) == kSourceAlpha;
        DrawDib(dib, Out(x, y), Out(x + double(width), y + double(height)), source, 0x00CC0020, style);
        return true;
    }
    case emr::StretchDiBits: {
        const uint32_t rop = p.U32(60);
        if (p.U32(44) == 0)
            return FillBlit(rop, p.I32(16), p.I32(20), p.I32(64), p.I32(68));
        const Bytes dib = JoinedDib(p, p.U32(40), p.U32(44), p.U32(48), p.U32(52));
        DrawDibLogical(dib, p.I32(16), p.I32(20), p.I32(64), p.I32(68),
            { p.I32(24), p.I32(28), p.I32(32), p.I32(36), false }, rop);
        return true;
    }
    case emr::SetDiBitsToDevice: {
        // The bits hold only the scan lines from the first one given; the size is in device pixels.
        Bytes dib = JoinedDib(p, p.U32(40), p.U32(44), p.U32(48), p.U32(52));
        const int32_t firstScan = p.I32(60);
        if (!KeepScanLines(dib, p.U32(64)))
            return true;
        const PointD corner = Out(p.I32(16), p.I32(20));
        const int32_t width = p.I32(32);
        const int32_t rows = p.I32(36);
        const PointD opposite { corner.x + width * m_output.scale.x, corner.y + rows * m_output.scale.y };
        DrawDib(dib, corner, opposite,
            { p.I32(24),
                static_cast<int>(std::clamp<int64_t>(int64_t(p.I32(28)) - firstScan, INT32_MIN, INT32_MAX)),
                width, rows, false },
            0x00CC0020);
        return true;
    }
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfPath(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::BeginPath:
        BeginPath();
        return true;
    case emr::EndPath:
        EndPath(true);
        return true;
    case emr::AbortPath:
        EndPath(false);
        return true;
    case emr::CloseFigure:
        if (m_inPath)
            m_path.closeSubpath();
        m_figureOpen = false;
        return true;
    case emr::FillPath:
        DrawPath(true, false);
        return true;
    case emr::StrokeAndFillPath:
        DrawPath(true, true);
        return true;
    case emr::StrokePath:
        DrawPath(false, true);
        return true;
    case emr::FlattenPath:
        return true; // drawn, a flattened path looks as the path does
    case emr::WidenPath:
        if (!m_inPath) {
            m_widened = Pen();
            m_widened->visible = true;
            m_widened->width = std::max(m_widened->width, 1.0);
            m_widened->gapColour.reset(); // the outline's gaps are no part of it
        }
        return true;
    case emr::SelectClipPath:
        if (const auto mode = ModeOf(p.U32(0)))
            SelectClipPath(*mode);
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfClip(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::OffsetClipRgn:
        OffsetClip(p.I32(0), p.I32(4));
        return true;
    case emr::IntersectClipRect:
    case emr::ExcludeClipRect:
        ClipRectangle(p.I32(0), p.I32(4), p.I32(8), p.I32(12),
            record.type == emr::IntersectClipRect ? ClipMode::And : ClipMode::Diff);
        return true;
    case emr::ExtSelectClipRgn: {
        const auto mode = ModeOf(p.U32(4));
        const uint32_t size = p.U32(0);
        if (mode == ClipMode::Copy && size == 0) {
            m_state.clip.reset(); // the whole picture again
            m_canvasStale = true;
        } else if (mode) {
            CombineClip(RegionPath(RegionRectangles(p, 8, size), false), *mode);
        }
        return true;
    }
    case emr::FillRgn:
    case emr::FrameRgn: {
        const uint32_t index = p.U32(20);
        const auto brush = BrushObject(index & ~emr::kStockObject, (index & emr::kStockObject) != 0);
        const bool frame = record.type == emr::FrameRgn;
        const QPainterPath region = RegionPath(RegionRectangles(p, frame ? 32 : 24, p.U32(16)), false);
        if (!brush)
            return true;
        if (frame)
            FrameRegion(region, *brush, p.I32(24), p.I32(28));
        else
            FillRegion(region, *brush);
        return true;
    }
    case emr::InvertRgn:
    case emr::PaintRgn: {
        const QPainterPath region = RegionPath(RegionRectangles(p, 20, p.U32(16)), false);
        if (record.type == emr::InvertRgn)
            InvertRegion(region);
        else
            FillRegion(region, Brush());
        return true;
    }
    default:
        return false;
    }
}

} // namespace metafile
