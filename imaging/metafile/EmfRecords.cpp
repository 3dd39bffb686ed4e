// The records of an enhanced metafile that set the state, create and select objects and draw
// lines and shapes. Offsets are those of the parameters, after the record's type and size.
#include "imaging/metafile/EmfRecordTypes.h"
#include "imaging/metafile/MetafilePlayer.h"

#include "platform/qt/Cp1252.h"

#include <bit>
#include <cmath>
#include <optional>
#include <string_view>

namespace metafile {
namespace {

using emr::kRecordHead;

constexpr uint32_t kNullPen = 5;
constexpr uint32_t kNullBrush = 1;

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
    for (size_t i = 0; i < 32 && p.U16(32 + 2 * i) != 0; ++i)
        font.face += QChar(p.U16(32 + 2 * i));
    return font;
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

} // namespace

bool MetafilePlayer::PlayEmf(const Record& record)
{
    return PlayEmfState(record) || PlayEmfObject(record) || PlayEmfDrawing(record) || PlayEmfCurves(record)
        || PlayEmfArc(record) || PlayEmfBlit(record) || PlayEmfPath(record) || PlayEmfClip(record);
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
    case emr::CreatePen:
        PutObject(p.U32(0), LogPen { (p.U32(4) & 0xF) != kNullPen, p.U32(16) & 0xFFFFFF, double(p.I32(8)) });
        return true;
    case emr::ExtCreatePen:
        PutObject(
            p.U32(0), LogPen { (p.U32(20) & 0xF) != kNullPen, p.U32(32) & 0xFFFFFF, double(p.U32(24)) });
        return true;
    case emr::CreateBrushIndirect:
        PutObject(p.U32(0), LogBrush { p.U32(4) != kNullBrush, p.U32(8) & 0xFFFFFF, nullptr });
        return true;
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
    case emr::ExtTextOutA:
    case emr::ExtTextOutW: {
        const bool wide = record.type == emr::ExtTextOutW;
        const uint32_t count = p.U32(36);
        const uint32_t offset = p.U32(40);
        if (offset < kRecordHead)
            return false;
        const uint8_t* chars = p.Bytes(offset - kRecordHead, uint64_t(count) * (wide ? 2 : 1));
        QString text;
        if (wide)
            for (uint32_t i = 0; i < count; ++i)
                text += QChar(static_cast<char16_t>(chars[2 * i] | (chars[2 * i + 1] << 8)));
        else
            text = fw::FromCp1252(std::string_view(reinterpret_cast<const char*>(chars), count));
        DrawText(p.I32(28), p.I32(32), text, Advances(p, count));
        return true;
    }
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
