// The records of a Windows metafile that set the state, create and select objects, and draw lines,
// shapes and text. Coordinates are 16-bit and most records give y before x.
#include "imaging/metafile/AnsiText.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/SymbolText.h"
#include "imaging/metafile/WmfFunctions.h"

#include <algorithm>
#include <string_view>

namespace metafile {
namespace {

constexpr int kNullPen = 5;
constexpr int kNullBrush = 1;
constexpr int kHatchedBrush = 2;

std::vector<PointD> Points(const Params& p, size_t offset, uint64_t count)
{
    p.Bytes(offset, count * 4);
    std::vector<PointD> points;
    for (size_t i = 0; i < count; ++i)
        points.push_back({ double(p.I16(offset + 4 * i)), double(p.I16(offset + 4 * i + 2)) });
    return points;
}

LogFont ReadFont(const Params& p)
{
    LogFont font;
    font.height = p.I16(0);
    font.angle = p.I16(4) / 10.0;
    font.weight = p.I16(8);
    font.italic = p.U8(10) != 0;
    font.underline = p.U8(11) != 0;
    font.strikeOut = p.U8(12) != 0;
    constexpr size_t kCharset = 13;
    font.charset = p.Size() > kCharset ? p.U8(kCharset) : 0;
    std::string face;
    for (size_t i = 18; i < p.Size() && i < 18 + 32 && p.U8(i) != 0; ++i)
        face += static_cast<char>(p.U8(i));
    font.face = DecodeAnsi(face, CodePageOfCharset(font.charset)).text;
    return font;
}

// count bytes of text from offset, in a font of the character set.
AnsiText Text(const Params& p, size_t offset, int16_t count, uint8_t charset)
{
    if (count <= 0)
        return {};
    const uint8_t* bytes = p.Bytes(offset, uint64_t(count));
    return DecodeFontText(std::string_view(reinterpret_cast<const char*>(bytes), size_t(count)), charset);
}

// The character advances after an ExtTextOut record's text, when the record holds them.
std::vector<double> Advances(const Params& p, size_t offset, int16_t count)
{
    if (count <= 0 || offset > p.Size() || size_t(count) * 2 > p.Size() - offset)
        return {};
    std::vector<double> advances;
    for (int16_t i = 0; i < count; ++i)
        advances.push_back(p.I16(offset + 2 * size_t(i)));
    return advances;
}

// The text of an ExtTextOut record: after y, x, the count and the options come the rectangle (when
// the options use it), the bytes (padded to an even length) and one advance a byte, when the record
// holds them. With glyph indices each byte is one.
TextRun ExtText(const Params& p, uint8_t charset)
{
    const uint16_t options = p.U16(6);
    const int16_t count = p.I16(4);
    TextRun run;
    run.at = { double(p.I16(2)), double(p.I16(0)) };
    size_t text = 8;
    if (options & (kTextOpaque | kTextClipped)) {
        run.SetRectangle(
            options, { double(p.I16(8)), double(p.I16(10)), double(p.I16(12)), double(p.I16(14)) });
        text = 16;
    }
    const size_t after = text + ((size_t(std::max<int16_t>(count, 0)) + 1) & ~size_t(1));
    if ((options & kTextGlyphIndex) && count > 0) {
        const uint8_t* bytes = p.Bytes(text, uint64_t(count));
        run.glyphIndices = true;
        run.glyphs.assign(bytes, bytes + count);
        run.advances = Advances(p, after, count);
        return run;
    }
    // One advance a byte: a double-byte character advances by the sum of its two.
    const AnsiText chars = Text(p, text, count, charset);
    run.text = chars.text;
    run.advances = UnitAdvances(Advances(p, after, count), chars);
    return run;
}

// A region: its scans, each a band from top to bottom with pairs of left and right; without scans,
// its bounding rectangle.
LogRegion ReadRegion(const Params& p)
{
    constexpr size_t kScans = 22;
    LogRegion region;
    const uint16_t scans = p.U16(10);
    size_t at = kScans;
    for (uint16_t s = 0; s < scans && region.rectangles.size() < kMaxRegionRectangles; ++s) {
        const uint16_t count = p.U16(at);
        const double top = p.I16(at + 2);
        const double bottom = p.I16(at + 4);
        for (size_t i = 0; i + 1 < count; i += 2)
            region.rectangles.push_back(
                { double(p.I16(at + 6 + 2 * i)), top, double(p.I16(at + 8 + 2 * i)), bottom });
        at += 8 + 2 * size_t(count);
    }
    if (scans == 0)
        region.rectangles.push_back(
            { double(p.I16(14)), double(p.I16(16)), double(p.I16(18)), double(p.I16(20)) });
    return region;
}

} // namespace

bool MetafilePlayer::PlayWmf(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case wmf::SaveDc:
        SaveState();
        return true;
    case wmf::RestoreDc:
        RestoreState(p.I16(0));
        return true;
    case wmf::SetBkMode:
        m_state.opaqueBackground = p.U16(0) == 2;
        return true;
    case wmf::SetPolyFillMode:
        m_state.winding = p.U16(0) == 2;
        return true;
    case wmf::SetRop2:
        if (p.U16(0) >= 1 && p.U16(0) <= 16) {
            m_state.rop2 = p.U16(0);
            m_canvasStale = true;
        }
        return true;
    case wmf::SetStretchBltMode:
        m_state.smoothStretch = p.U16(0) == 4; // halftone
        return true;
    case wmf::SetTextAlign:
        m_state.textAlign = p.U16(0);
        return true;
    case wmf::SetBkColor:
        m_state.backgroundColour = p.U32(0) & 0xFFFFFF;
        return true;
    case wmf::SetTextColor:
        m_state.textColour = p.U32(0) & 0xFFFFFF;
        return true;
    default:
        return PlayWmfMapping(record) || PlayWmfObject(record) || PlayWmfDrawing(record) || PlayWmfArc(record)
            || PlayWmfBlit(record) || PlayWmfClip(record);
    }
}

bool MetafilePlayer::PlayWmfMapping(const Record& record)
{
    const Params p(record);
    Mapping& mapping = m_state.mapping;
    switch (record.type) {
    case wmf::SetMapMode:
        // The metafile's window is always fitted into the picture, whatever mode it asks for.
        return true;
    case wmf::SetWindowOrg:
        mapping.windowOrg = { double(p.I16(2)), double(p.I16(0)) };
        return true;
    case wmf::SetWindowExt:
        mapping.windowExt = { double(p.I16(2)), double(p.I16(0)) };
        return true;
    case wmf::OffsetWindowOrg:
        mapping.windowOrg = { mapping.windowOrg.x + p.I16(2), mapping.windowOrg.y + p.I16(0) };
        return true;
    case wmf::OffsetViewportOrg:
        mapping.viewportOrg = { mapping.viewportOrg.x + p.I16(2), mapping.viewportOrg.y + p.I16(0) };
        return true;
    case wmf::ScaleWindowExt:
    case wmf::ScaleViewportExt: {
        PointD& extent = record.type == wmf::ScaleWindowExt ? mapping.windowExt : mapping.viewportExt;
        extent = { ScaledExtent(extent.x, p.I16(6), p.I16(4)), ScaledExtent(extent.y, p.I16(2), p.I16(0)) };
        return true;
    }
    case wmf::SetViewportOrg:
    case wmf::SetViewportExt:
        // The viewport is the picture.
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayWmfObject(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case wmf::CreatePenIndirect: {
        // The style's low four bits; a wide pen of this record has round caps and joins.
        LogPen pen { (p.U16(0) & 0xF) != kNullPen, p.U32(6) & 0xFFFFFF, double(p.I16(2)) };
        pen.style = p.U16(0) & 0xF;
        AddObject(pen);
        return true;
    }
    case wmf::CreateBrushIndirect: {
        LogBrush brush { p.U16(0) != kNullBrush, p.U32(2) & 0xFFFFFF, nullptr };
        if (p.U16(0) == kHatchedBrush)
            brush.hatch = p.U16(6);
        AddObject(brush);
        return true;
    }
    case wmf::DibCreatePatternBrush:
        AddObject(LogBrush { true, 0, PatternOf(p.Bytes(4, 0), p.Size() - 4) });
        return true;
    case wmf::CreatePatternBrush: {
        constexpr size_t kPatternBits = 32; // after the bitmap's header and reserved bytes
        const Bytes dib = Bitmap16Dib(p, 0, kPatternBits);
        const bool mono = p.U8(9) == 1; // one bit a pixel
        AddObject(LogBrush { true, 0, PatternOf(dib.data(), dib.size(), mono), mono });
        return true;
    }
    case wmf::CreateFontIndirect:
        AddObject(ReadFont(p));
        return true;
    case wmf::CreateRegion:
        AddObject(ReadRegion(p));
        return true;
    case wmf::CreatePalette:
        AddObject(std::monostate {}); // takes its slot; not drawn with
        return true;
    case wmf::SelectObject: {
        // Selecting a region makes it the clip.
        const GdiObject* object = Object(p.U16(0));
        if (const auto* region = object ? std::get_if<LogRegion>(object) : nullptr)
            CombineClip(RegionPath(region->rectangles, true), ClipMode::Copy);
        else
            SelectObject(p.U16(0));
        return true;
    }
    case wmf::DeleteObject:
        DeleteObject(p.U16(0));
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayWmfDrawing(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case wmf::MoveTo:
        m_state.position = { double(p.I16(2)), double(p.I16(0)) };
        m_figureOpen = false;
        return true;
    case wmf::LineTo:
        LineTo(p.I16(2), p.I16(0));
        return true;
    case wmf::SetPixel:
        SetPixel(p.I16(6), p.I16(4), p.U32(0));
        return true;
    case wmf::Rectangle:
        DrawRectangle(p.I16(6), p.I16(4), p.I16(2), p.I16(0));
        return true;
    case wmf::Ellipse:
        DrawEllipse({ double(p.I16(6)), double(p.I16(4)), double(p.I16(2)), double(p.I16(0)) });
        return true;
    case wmf::Polygon:
        DrawPolygons({ Points(p, 2, uint16_t(p.I16(0))) });
        return true;
    case wmf::Polyline:
        DrawLines(Points(p, 2, uint16_t(p.I16(0))), false, false);
        return true;
    case wmf::PolyPolygon: {
        const uint16_t count = p.U16(0);
        std::vector<std::vector<PointD>> polygons;
        size_t at = 2 + 2 * size_t(count);
        for (uint16_t i = 0; i < count; ++i) {
            const uint16_t n = p.U16(2 + 2 * size_t(i));
            polygons.push_back(Points(p, at, n));
            at += 4 * size_t(n);
        }
        DrawPolygons(polygons);
        return true;
    }
    case wmf::TextOut: {
        const int16_t count = p.I16(0);
        const size_t after = 2 + ((size_t(std::max<int16_t>(count, 0)) + 1) & ~size_t(1));
        TextRun run;
        run.at = { double(p.I16(after + 2)), double(p.I16(after)) };
        run.text = Text(p, 2, count, m_state.font.TextCharset()).text;
        DrawText(run);
        return true;
    }
    case wmf::ExtTextOut:
        DrawText(ExtText(p, m_state.font.TextCharset()));
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayWmfArc(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case wmf::Arc:
    case wmf::Chord:
    case wmf::Pie: {
        const Box box { double(p.I16(14)), double(p.I16(12)), double(p.I16(10)), double(p.I16(8)) };
        const ArcClosing closing = record.type == wmf::Chord ? ArcClosing::Chord
            : record.type == wmf::Pie                        ? ArcClosing::Pie
                                                             : ArcClosing::Open;
        DrawArc(box, { double(p.I16(6)), double(p.I16(4)) }, { double(p.I16(2)), double(p.I16(0)) }, closing,
            false);
        return true;
    }
    case wmf::RoundRect:
        DrawRoundRect(
            { double(p.I16(10)), double(p.I16(8)), double(p.I16(6)), double(p.I16(4)) }, p.I16(2), p.I16(0));
        return true;
    default:
        return false;
    }
}

} // namespace metafile
