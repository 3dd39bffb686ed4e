// The records of an enhanced metafile that the player plays. Offsets are those of the parameters,
// after the record's type and size; offsets stored in a record count from the record's start.
#include "imaging/metafile/MetafilePlayer.h"

#include "platform/qt/Cp1252.h"

#include <bit>
#include <cmath>
#include <optional>
#include <string_view>

namespace metafile {
namespace {

enum RecordType : uint32_t {
    EmrPolyBezier = 2,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolylineTo = 6,
    EmrPolyPolygon = 8,
    EmrSetWindowExtEx = 9,
    EmrSetWindowOrgEx = 10,
    EmrSetViewportExtEx = 11,
    EmrSetViewportOrgEx = 12,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetPolyFillMode = 19,
    EmrSetTextAlign = 22,
    EmrSetTextColor = 24,
    EmrSetBkColor = 25,
    EmrMoveToEx = 27,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrushIndirect = 39,
    EmrDeleteObject = 40,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrLineTo = 54,
    EmrCreatePalette = 49,
    EmrBitBlt = 76,
    EmrStretchBlt = 77,
    EmrStretchDiBits = 81,
    EmrExtCreateFontIndirectW = 82,
    EmrExtTextOutA = 83,
    EmrExtTextOutW = 84,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezier16 = 88,
    EmrPolyBezierTo16 = 89,
    EmrPolylineTo16 = 90,
    EmrPolyPolygon16 = 91,
    EmrCreateMonoBrush = 93,
    EmrCreateDibPatternBrushPt = 94,
    EmrExtCreatePen = 95,
};

constexpr uint32_t kStockObject = 0x80000000;
constexpr uint32_t kNullPen = 5;
constexpr uint32_t kNullBrush = 1;
constexpr size_t kRecordHead = 8;

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

// Six floats from offset; nullopt when one is not a finite number.
std::optional<Transform> ReadTransform(const Params& p, size_t offset)
{
    double v[6];
    for (size_t i = 0; i < 6; ++i) {
        v[i] = std::bit_cast<float>(p.U32(offset + 4 * i));
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

} // namespace

bool MetafilePlayer::PlayEmf(const Record& record)
{
    return PlayEmfState(record) || PlayEmfObject(record) || PlayEmfDrawing(record) || PlayEmfCurves(record)
        || PlayEmfBlit(record);
}

bool MetafilePlayer::PlayEmfCurves(const Record& record)
{
    const Params p(record);
    const uint32_t type = record.type;
    const bool lineTo = type == EmrPolylineTo || type == EmrPolylineTo16;
    const bool bezierTo = type == EmrPolyBezierTo || type == EmrPolyBezierTo16;
    const bool bezier = bezierTo || type == EmrPolyBezier || type == EmrPolyBezier16;
    if (!bezier && !lineTo)
        return false;
    const bool wide = type == EmrPolyBezier || type == EmrPolyBezierTo || type == EmrPolylineTo;
    const bool fromPosition = lineTo || bezierTo;
    std::vector<PointD> points = Points(p, 20, p.U32(16), wide);
    if (fromPosition) {
        points.insert(points.begin(), m_state.position);
        m_state.position = points.back();
    }
    if (bezier)
        DrawBeziers(points);
    else
        DrawPolyline(points);
    return true;
}

bool MetafilePlayer::PlayEmfBlit(const Record& record)
{
    const Params p(record);
    if (record.type != EmrBitBlt && record.type != EmrStretchBlt)
        return false;
    const int32_t x = p.I32(16);
    const int32_t y = p.I32(20);
    const int32_t width = p.I32(24);
    const int32_t height = p.I32(28);
    const uint32_t rop = p.U32(32);
    const uint32_t headerAt = p.U32(76);
    const uint32_t headerSize = p.U32(80);
    const uint32_t bitsAt = p.U32(84);
    const uint32_t bitsSize = p.U32(88);
    if (headerSize == 0)
        return FillBlit(rop, x, y, width, height);
    if (headerAt < kRecordHead || bitsAt != uint64_t(headerAt) + headerSize)
        return false;
    const uint8_t* dib = p.Bytes(headerAt - kRecordHead, uint64_t(headerSize) + bitsSize);
    const bool stretch = record.type == EmrStretchBlt;
    DrawDib(dib, uint64_t(headerSize) + bitsSize, x, y, width, height, p.I32(36), p.I32(40),
        stretch ? p.I32(92) : width, stretch ? p.I32(96) : height, true);
    return true;
}

bool MetafilePlayer::PlayEmfState(const Record& record)
{
    const Params p(record);
    Mapping& mapping = m_state.mapping;
    switch (record.type) {
    case EmrSetWindowExtEx:
        mapping.windowExt = { double(p.I32(0)), double(p.I32(4)) };
        return true;
    case EmrSetWindowOrgEx:
        mapping.windowOrg = { double(p.I32(0)), double(p.I32(4)) };
        return true;
    case EmrSetViewportExtEx:
        mapping.viewportExt = { double(p.I32(0)), double(p.I32(4)) };
        return true;
    case EmrSetViewportOrgEx:
        mapping.viewportOrg = { double(p.I32(0)), double(p.I32(4)) };
        return true;
    case EmrSetMapMode: {
        const uint32_t mode = p.U32(0);
        if (mode >= uint32_t(kMapText) && mode <= uint32_t(kMapAnisotropic))
            mapping.mode = int(mode);
        return true;
    }
    case EmrSetBkMode:
        m_state.opaqueBackground = p.U32(0) == 2;
        return true;
    case EmrSetPolyFillMode:
        m_state.winding = p.U32(0) == 2;
        return true;
    case EmrSetTextAlign:
        m_state.textAlign = int(p.U32(0) & 0xFFFF);
        return true;
    case EmrSetTextColor:
        m_state.textColour = p.U32(0) & 0xFFFFFF;
        return true;
    case EmrSetBkColor:
        m_state.backgroundColour = p.U32(0) & 0xFFFFFF;
        return true;
    case EmrSaveDc:
        SaveState();
        return true;
    case EmrRestoreDc:
        RestoreState(p.I32(0));
        return true;
    case EmrSetWorldTransform:
        if (const auto t = ReadTransform(p, 0))
            m_state.world = *t;
        return true;
    case EmrModifyWorldTransform: {
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
    case EmrMoveToEx:
        m_state.position = { double(p.I32(0)), double(p.I32(4)) };
        return true;
    default:
        return false;
    }
}

bool MetafilePlayer::PlayEmfObject(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case EmrCreatePen:
        PutObject(p.U32(0), LogPen { (p.U32(4) & 0xF) != kNullPen, p.U32(16) & 0xFFFFFF, double(p.I32(8)) });
        return true;
    case EmrExtCreatePen:
        PutObject(
            p.U32(0), LogPen { (p.U32(20) & 0xF) != kNullPen, p.U32(32) & 0xFFFFFF, double(p.U32(24)) });
        return true;
    case EmrCreateBrushIndirect:
        PutObject(p.U32(0), LogBrush { p.U32(4) != kNullBrush, p.U32(8) & 0xFFFFFF });
        return true;
    case EmrExtCreateFontIndirectW:
        PutObject(p.U32(0), ReadFont(p));
        return true;
    case EmrCreatePalette:
    case EmrCreateMonoBrush:
    case EmrCreateDibPatternBrushPt:
        PutObject(p.U32(0), std::monostate {});
        return true;
    case EmrSelectObject: {
        const uint32_t index = p.U32(0);
        if (index & kStockObject)
            SelectStockObject(index & ~kStockObject);
        else
            SelectObject(index);
        return true;
    }
    case EmrDeleteObject:
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
    case EmrLineTo:
        LineTo(p.I32(0), p.I32(4));
        return true;
    case EmrRectangle:
        DrawRectangle(p.I32(0), p.I32(4), p.I32(8), p.I32(12));
        return true;
    case EmrEllipse:
        DrawEllipse(p.I32(0), p.I32(4), p.I32(8), p.I32(12));
        return true;
    case EmrPolygon:
    case EmrPolygon16:
        DrawPolygons({ Points(p, 20, p.U32(16), record.type == EmrPolygon) });
        return true;
    case EmrPolyline:
    case EmrPolyline16:
        DrawPolyline(Points(p, 20, p.U32(16), record.type == EmrPolyline));
        return true;
    case EmrPolyPolygon:
    case EmrPolyPolygon16:
        DrawPolygons(PolyPolygons(p, record.type == EmrPolyPolygon));
        return true;
    case EmrExtTextOutA:
    case EmrExtTextOutW: {
        const bool wide = record.type == EmrExtTextOutW;
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
        DrawText(p.I32(28), p.I32(32), text);
        return true;
    }
    case EmrStretchDiBits: {
        const uint32_t headerAt = p.U32(40);
        const uint32_t headerSize = p.U32(44);
        const uint32_t bitsAt = p.U32(48);
        const uint32_t bitsSize = p.U32(52);
        if (headerAt < kRecordHead || bitsAt != uint64_t(headerAt) + headerSize)
            return false; // the player draws the header and its bits as one packed picture
        const uint8_t* dib = p.Bytes(headerAt - kRecordHead, uint64_t(headerSize) + bitsSize);
        DrawDib(dib, uint64_t(headerSize) + bitsSize, p.I32(16), p.I32(20), p.I32(64), p.I32(68), p.I32(24),
            p.I32(28), p.I32(32), p.I32(36));
        return true;
    }
    default:
        return false;
    }
}

} // namespace metafile
