// The records of an enhanced metafile that set the state, create and select objects and draw
// lines, shapes and text. Offsets are those of the parameters, after the record's type and size.
#include "imaging/metafile/AnsiText.h"
#include "imaging/metafile/EmfRecordTypes.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/SymbolText.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>
#include <string_view>

namespace metafile {
namespace {

using emr::kRecordHead;

constexpr uint32_t kNullPen = 5;
constexpr uint32_t kNullBrush = 1;
constexpr uint32_t kHatchedBrush = 2;

// count points of 16 or 32 bits from offset.
std::vector<PointD> Points(const Params& p, size_t offset, uint64_t count, bool wide)
{
    const size_t size = wide ? 8 : 4;
    p.Bytes(offset, count * size);
    std::vector<PointD> points;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = offset + i * size;
        points.push_back(wide ? PointD { double(p.I32(at)), double(p.I32(at + 4)) }
                              : PointD { double(p.I16(at)), double(p.I16(at + 2)) });
    }
    return points;
}

std::vector<std::vector<PointD>> PolyPolygons(const Params& p, bool wide)
{
    const uint32_t count = p.U32(16);
    p.Bytes(24, uint64_t(count) * 4);
    std::vector<std::vector<PointD>> polygons;
    size_t at = 24 + 4 * size_t(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t n = p.U32(24 + 4 * size_t(i));
        polygons.push_back(Points(p, at, n, wide));
        at += size_t(n) * (wide ? 8 : 4);
    }
    return polygons;
}

float Float(const Params& p, size_t offset)
{
    return std::bit_cast<float>(p.U32(offset));
}

// Six floats from offset; nullopt when one is not a finite number.
std::optional<Transform> ReadTransform(const Params& p, size_t offset)
{
    double v[6];
    for (size_t i = 0; i < 6; ++i) {
        v[i] = Float(p, offset + 4 * i);
        if (!std::isfinite(v[i]))
            return std::nullopt;
    }
    return Transform { v[0], v[1], v[2], v[3], v[4], v[5] };
}

LogFont ReadFont(const Params& p)
{
    LogFont font;
    font.height = p.I32(4);
    font.angle = p.I32(12) / 10.0;
    font.weight = p.I32(20);
    font.italic = p.U8(24) != 0;
    font.underline = p.U8(25) != 0;
    font.strikeOut = p.U8(26) != 0;
    font.charset = p.U8(27);
    for (size_t i = 0; i < 32 && p.U16(32 + 2 * i) != 0; ++i)
        font.face += QChar(p.U16(32 + 2 * i));
    return font;
}

// A pen of ExtCreatePen: a geometric pen is as wide as it says, with the end cap and join its style
// gives; a cosmetic one is one pixel wide whatever the mapping.
LogPen ReadExtendedPen(const Params& p)
{
    constexpr uint32_t kGeometric = 0x10000;
    constexpr uint32_t kCapMask = 0x0F00;
    constexpr uint32_t kCapSquare = 0x0100;
    constexpr uint32_t kCapFlat = 0x0200;
    constexpr uint32_t kJoinMask = 0xF000;
    constexpr uint32_t kJoinBevel = 0x1000;
    constexpr uint32_t kJoinMiter = 0x2000;
    constexpr uint32_t kMaxUserLengths = 16;
    const uint32_t style = p.U32(20);
    LogPen pen { (style & 0xF) != kNullPen, p.U32(32) & 0xFFFFFF, 0 };
    pen.style = style & 0xF;
    if (pen.style == kPenUserStyle)
        for (uint32_t i = 0; i < std::min(p.U32(40), kMaxUserLengths); ++i)
            pen.userLengths.push_back(p.U32(44 + 4 * size_t(i)));
    if ((style & kGeometric) == 0)
        return pen;
    pen.geometric = true;
    pen.width = p.U32(24);
    const uint32_t cap = style & kCapMask;
    pen.cap = cap == kCapSquare ? LineCap::Square : cap == kCapFlat ? LineCap::Flat : LineCap::Round;
    const uint32_t join = style & kJoinMask;
    pen.join = join == kJoinBevel ? LineJoin::Bevel : join == kJoinMiter ? LineJoin::Miter : LineJoin::Round;
    return pen;
}

// The miter limit of SetMiterLimit. Windows writes it as a float; a value below the smallest
// normal float is taken as the whole number some writers put there instead. nullopt when it is no
// finite number.
std::optional<double> ReadMiterLimit(const Params& p)
{
    constexpr uint32_t kSmallestNormalFloat = 0x00800000;
    constexpr double kLargest = 1e6; // longer miters reach far beyond any picture
    const uint32_t bits = p.U32(0);
    const double limit = bits < kSmallestNormalFloat ? double(bits) : double(Float(p, 0));
    if (!std::isfinite(limit))
        return std::nullopt;
    return std::clamp(limit, 0.0, kLargest);
}

// count UTF-16 characters from offset.
QString Utf16Text(const Params& p, size_t offset, uint32_t count)
{
    const uint8_t* chars = p.Bytes(offset, uint64_t(count) * 2);
    QString text;
    text.reserve(static_cast<qsizetype>(count));
    for (uint32_t i = 0; i < count; ++i)
        text += QChar(static_cast<char16_t>(chars[2 * i] | (chars[2 * i + 1] << 8)));
    return text;
}

// Glyph indices: count 16-bit ones from offset, or count bytes of one each.
std::vector<uint16_t> GlyphIndices(const Params& p, size_t offset, uint32_t count, bool wide)
{
    const uint8_t* bytes = p.Bytes(offset, uint64_t(count) * (wide ? 2 : 1));
    std::vector<uint16_t> glyphs;
    glyphs.reserve(count);
    for (uint32_t i = 0; i < count; ++i)
        glyphs.push_back(wide ? uint16_t(bytes[2 * i] | (bytes[2 * i + 1] << 8)) : bytes[i]);
    return glyphs;
}

Box ReadBox(const Params& p, size_t offset)
{
    return { double(p.I32(offset)), double(p.I32(offset + 4)), double(p.I32(offset + 8)),
        double(p.I32(offset + 12)) };
}

PointD ReadPoint(const Params& p, size_t offset)
{
    return { double(p.I32(offset)), double(p.I32(offset + 4)) };
}

// The character advances of an ExtTextOut record, when it gives them (every other value when
// they come in pairs with vertical advances).
std::vector<double> Advances(const Params& p, uint32_t count)
{
    constexpr uint32_t kPairs = 0x2000;
    const uint32_t at = p.U32(64);
    const uint64_t step = (p.U32(44) & kPairs) ? 8 : 4;
    if (at < kRecordHead || at - kRecordHead > p.Size()
        || uint64_t(count) * step > p.Size() - (at - kRecordHead))
        return {};
    std::vector<double> advances;
    for (uint32_t i = 0; i < count; ++i)
        advances.push_back(p.I32(at - kRecordHead + i * step));
    return advances;
}

// The characters (in the font's character set) or glyph indices of an ExtTextOut record, and
// their advances; false when the text lies in the record's head.
bool ReadExtText(const Params& p, bool wide, uint8_t charset, TextRun& run)
{
    const uint32_t count = p.U32(36);
    const uint32_t offset = p.U32(40);
    const uint32_t options = p.U32(44);
    if (offset < kRecordHead)
        return false;
    const size_t at = offset - kRecordHead;
    if (options & kTextGlyphIndex) {
        run.glyphIndices = true;
        run.glyphs = GlyphIndices(p, at, count, wide);
        run.advances = Advances(p, count);
    } else if (wide) {
        run.text = FontUnicode(Utf16Text(p, at, count), charset);
        run.advances = Advances(p, count);
    } else {
        // ANSI text in the font's encoding, with an advance for each byte.
        const uint8_t* chars = p.Bytes(at, count);
        const AnsiText text
            = DecodeFontText(std::string_view(reinterpret_cast<const char*>(chars), count), charset);
        run.text = text.text;
        run.advances = UnitAdvances(Advances(p, count), text);
    }
    return true;
}

// A small text record in a font of the character set.
TextRun ReadSmallText(const Params& p, uint8_t charset)
{
    // After x, y, the character count, the options, the graphics mode and two scales come the
    // rectangle (unless the options leave it out), then the characters: one byte each (the low byte
    // of a UTF-16 character) or UTF-16. The font gives the advances.
    constexpr uint32_t kNoRectangle = 0x100;
    constexpr uint32_t kSmallChars = 0x200;
    const uint32_t count = p.U32(8);
    const uint32_t options = p.U32(12);
    const bool small = (options & kSmallChars) != 0;
    TextRun run;
    run.at = ReadPoint(p, 0);
    size_t at = 28;
    if ((options & kNoRectangle) == 0) {
        run.SetRectangle(options, ReadBox(p, at));
        at += 16;
    }
    if (options & kTextGlyphIndex) {
        run.glyphIndices = true;
        run.glyphs = GlyphIndices(p, at, count, !small);
        return run;
    }
    if (!small) {
        run.text = FontUnicode(Utf16Text(p, at, count), charset);
        return run;
    }
    const uint8_t* chars = p.Bytes(at, count);
    run.text = FontUnicode(
        QString::fromLatin1(reinterpret_cast<const char*>(chars), static_cast<qsizetype>(count)), charset);
    return run;
}

} // namespace

bool MetafilePlayer::PlayEmf(const Record& record)
{
    return PlayEmfState(record) || PlayEmfObject(record) || PlayEmfDrawing(record) || PlayEmfText(record)
        || PlayEmfCurves(record) || PlayEmfArc(record) || PlayEmfBlit(record) || PlayEmfPath(record)
        || PlayEmfClip(record) || PlayEmfGradient(record);
}

bool MetafilePlayer::PlayEmfCurves(const Record& record)
{
    const Params p(record);
    const uint32_t type = record.type;
    const bool lineTo = type == emr::PolylineTo || type == emr::PolylineTo16;
    const bool bezierTo = type == emr::PolyBezierTo || type == emr::PolyBezierTo16;
    const bool bezier = bezierTo || type == emr::PolyBezier || type == emr::PolyBezier16;
    const bool line = lineTo || type == emr::Polyline || type == emr::Polyline16;
    if (type == emr::PolyPolyline || type == emr::PolyPolyline16) {
        for (auto& polyline : PolyPolygons(p, type == emr::PolyPolyline))
            DrawLines(std::move(polyline), false, false);
        return true;
    }
    if (!bezier && !line)
        return false;
    const bool wide = type == emr::PolyBezier || type == emr::PolyBezierTo || type == emr::PolylineTo
        || type == emr::Polyline;
    DrawLines(Points(p, 20, p.U32(16), wide), bezier, lineTo || bezierTo);
    return true;
}

bool MetafilePlayer::PlayEmfState(const Record& record)
{
    const Params p(record);
    Mapping& mapping = m_state.mapping;
    switch (record.type) {
    case emr::SetWindowExtEx:
        mapping.windowExt = ReadPoint(p, 0);
        return true;
    case emr::SetWindowOrgEx:
        mapping.windowOrg = ReadPoint(p, 0);
        return true;
    case emr::SetViewportExtEx:
        mapping.viewportExt = ReadPoint(p, 0);
        return true;
    case emr::SetViewportOrgEx:
        mapping.viewportOrg = ReadPoint(p, 0);
        return true;
    case emr::ScaleViewportExtEx:
    case emr::ScaleWindowExtEx: {
        PointD& extent = record.type == emr::ScaleViewportExtEx ? mapping.viewportExt : mapping.windowExt;
        extent = { ScaledExtent(extent.x, p.I32(0), p.I32(4)), ScaledExtent(extent.y, p.I32(8), p.I32(12)) };
        return true;
    }
    case emr::SetMapMode: {
        const uint32_t mode = p.U32(0);
        if (mode >= uint32_t(kMapText) && mode <= uint32_t(kMapAnisotropic))
            mapping.mode = int(mode);
        return true;
    }
    case emr::SetBkMode:
        m_state.opaqueBackground = p.U32(0) == 2;
        return true;
    case emr::SetPolyFillMode:
        m_state.winding = p.U32(0) == 2;
        return true;
    case emr::SetRop2:
        if (p.U32(0) >= 1 && p.U32(0) <= 16) {
            m_state.rop2 = int(p.U32(0));
            m_canvasStale = true;
        }
        return true;
    case emr::SetStretchBltMode:
        m_state.smoothStretch = p.U32(0) == 4; // halftone
        return true;
    case emr::SetArcDirection:
        m_state.clockwise = p.U32(0) == 2;
        return true;
    case emr::SetMiterLimit:
        if (const auto limit = ReadMiterLimit(p))
            m_state.miterLimit = *limit;
        return true;
    case emr::SetTextAlign:
        m_state.textAlign = int(p.U32(0) & 0xFFFF);
        return true;
    case emr::SetTextColor:
        m_state.textColour = p.U32(0) & 0xFFFFFF;
        return true;
    case emr::SetBkColor:
        m_state.backgroundColour = p.U32(0) & 0xFFFFFF;
        return true;
    case emr::SaveDc:
        SaveState();
        return true;
    case emr::RestoreDc:
        RestoreState(p.I32(0));
        return true;
    case emr::SetWorldTransform:
        if (const auto t = ReadTransform(p, 0))
            m_state.world = *t;
        return true;
    case emr::ModifyWorldTransform: {
        constexpr uint32_t kIdentity = 1;
        constexpr uint32_t kLeftMultiply = 2;
        constexpr uint32_t kRightMultiply = 3;
        constexpr uint32_t kSet = 4;
        const auto t = ReadTransform(p, 0);
        const uint32_t mode = p.U32(24);
        if (mode == kIdentity)
            m_state.world = Transform {};
        else if (t && mode == kLeftMultiply)
            m_state.world = t->Then(m_state.world);
        else if (t && mode == kRightMultiply)
            m_state.world = m_state.world.Then(*t);
        else if (t && mode == kSet)
            m_state.world = *t;
        return true;
    }
    case emr::MoveToEx:
        m_state.position = ReadPoint(p, 0);
        m_figureOpen = false;
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfObject(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::CreatePen: {
        LogPen pen { (p.U32(4) & 0xF) != kNullPen, p.U32(16) & 0xFFFFFF, double(p.I32(8)) };
        pen.style = p.U32(4) & 0xF;
        PutObject(p.U32(0), pen);
        return true;
    }
    case emr::ExtCreatePen:
        PutObject(p.U32(0), ReadExtendedPen(p));
        return true;
    case emr::CreateBrushIndirect: {
        LogBrush brush { p.U32(4) != kNullBrush, p.U32(8) & 0xFFFFFF, nullptr };
        if (p.U32(4) == kHatchedBrush)
            brush.hatch = p.U32(12);
        PutObject(p.U32(0), brush);
        return true;
    }
    case emr::CreateMonoBrush:
    case emr::CreateDibPatternBrushPt: {
        const bool mono = record.type == emr::CreateMonoBrush;
        const Bytes dib = (mono ? MonoBrushDib : JoinedDib)(p, p.U32(8), p.U32(12), p.U32(16), p.U32(20));
        PutObject(p.U32(0), LogBrush { true, 0, PatternOf(dib.data(), dib.size(), mono), mono });
        return true;
    }
    case emr::ExtCreateFontIndirectW:
        PutObject(p.U32(0), ReadFont(p));
        return true;
    case emr::CreatePalette:
        PutObject(p.U32(0), std::monostate {});
        return true;
    case emr::SelectObject: {
        const uint32_t index = p.U32(0);
        if (index & emr::kStockObject)
            SelectStockObject(index & ~emr::kStockObject);
        else
            SelectObject(index);
        return true;
    }
    case emr::DeleteObject:
        DeleteObject(p.U32(0));
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfDrawing(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::LineTo:
        LineTo(p.I32(0), p.I32(4));
        return true;
    case emr::SetPixelV:
        SetPixel(p.I32(0), p.I32(4), p.U32(8));
        return true;
    case emr::Rectangle:
        DrawRectangle(p.I32(0), p.I32(4), p.I32(8), p.I32(12));
        return true;
    case emr::Ellipse:
        DrawEllipse(ReadBox(p, 0));
        return true;
    case emr::Polygon:
    case emr::Polygon16:
        DrawPolygons({ Points(p, 20, p.U32(16), record.type == emr::Polygon) });
        return true;
    case emr::PolyPolygon:
    case emr::PolyPolygon16:
        DrawPolygons(PolyPolygons(p, record.type == emr::PolyPolygon));
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfText(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::ExtTextOutA:
    case emr::ExtTextOutW: {
        TextRun run;
        run.at = ReadPoint(p, 28);
        run.SetRectangle(p.U32(44), ReadBox(p, 48));
        if (p.U32(36) != 0
            && !ReadExtText(p, record.type == emr::ExtTextOutW, m_state.font.TextCharset(), run))
            return false;
        DrawText(run);
        return true;
    }
    case emr::SmallTextOut:
        DrawText(ReadSmallText(p, m_state.font.TextCharset()));
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfArc(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case emr::Arc:
    case emr::ArcTo:
    case emr::Chord:
    case emr::Pie: {
        const ArcClosing closing = record.type == emr::Chord ? ArcClosing::Chord
            : record.type == emr::Pie                        ? ArcClosing::Pie
                                                             : ArcClosing::Open;
        DrawArc(ReadBox(p, 0), ReadPoint(p, 16), ReadPoint(p, 24), closing, record.type == emr::ArcTo);
        return true;
    }
    case emr::RoundRect:
        DrawRoundRect(ReadBox(p, 0), p.I32(16), p.I32(20));
        return true;
    case emr::AngleArc: {
        const double start = Float(p, 12);
        const double sweep = Float(p, 16);
        if (!std::isfinite(start) || !std::isfinite(sweep))
            return false;
        const double radius = p.U32(8);
        DrawLines(
            AngleArcPoints(ReadPoint(p, 0), radius, start, sweep, SegmentsPerTurn(radius)), false, true);
        return true;
    }
    default:
        return false;
    }
}

} // namespace metafile
