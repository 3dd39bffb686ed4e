// The records of a Windows metafile that the player plays. Coordinates are 16-bit and most records
// give y before x.
#include "imaging/metafile/MetafilePlayer.h"

#include "platform/qt/Cp1252.h"

#include <string_view>

namespace metafile {
namespace {

enum Function : uint32_t {
    MetaSaveDc = 0x001E,
    MetaCreatePalette = 0x00F7,
    MetaSetBkMode = 0x0102,
    MetaSetMapMode = 0x0103,
    MetaSetPolyFillMode = 0x0106,
    MetaRestoreDc = 0x0127,
    MetaSelectObject = 0x012D,
    MetaSetTextAlign = 0x012E,
    MetaDibCreatePatternBrush = 0x0142,
    MetaDeleteObject = 0x01F0,
    MetaCreatePatternBrush = 0x01F9,
    MetaSetBkColor = 0x0201,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaSetViewportOrg = 0x020D,
    MetaSetViewportExt = 0x020E,
    MetaLineTo = 0x0213,
    MetaMoveTo = 0x0214,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateFontIndirect = 0x02FB,
    MetaCreateBrushIndirect = 0x02FC,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaEllipse = 0x0418,
    MetaRectangle = 0x041B,
    MetaTextOut = 0x0521,
    MetaPolyPolygon = 0x0538,
    MetaCreateRegion = 0x06FF,
    MetaDibBitBlt = 0x0940,
    MetaExtTextOut = 0x0A32,
    MetaDibStretchBlt = 0x0B41,
    MetaStretchDib = 0x0F43,
};

constexpr int kNullPen = 5;
constexpr int kNullBrush = 1;
// The parameter sizes of the blits that carry no picture (they fill with the brush).
constexpr size_t kStretchBltWithoutPicture = 22;
constexpr size_t kBitBltWithoutPicture = 18;

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
    std::string face;
    for (size_t i = 18; i < p.Size() && i < 18 + 32 && p.U8(i) != 0; ++i)
        face += static_cast<char>(p.U8(i));
    font.face = fw::FromCp1252(face);
    return font;
}

QString Text(const Params& p, size_t offset, int16_t count)
{
    if (count <= 0)
        return {};
    const uint8_t* bytes = p.Bytes(offset, uint64_t(count));
    return fw::FromCp1252(std::string_view(reinterpret_cast<const char*>(bytes), size_t(count)));
}

} // namespace

bool MetafilePlayer::PlayWmf(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case MetaSaveDc:
        SaveState();
        return true;
    case MetaRestoreDc:
        RestoreState(p.I16(0));
        return true;
    case MetaSetBkMode:
        m_state.opaqueBackground = p.U16(0) == 2;
        return true;
    case MetaSetMapMode:
        // The metafile's window is always fitted into the picture, whatever mode it asks for.
        return true;
    case MetaSetPolyFillMode:
        m_state.winding = p.U16(0) == 2;
        return true;
    case MetaSetTextAlign:
        m_state.textAlign = p.U16(0);
        return true;
    case MetaSetBkColor:
        m_state.backgroundColour = p.U32(0) & 0xFFFFFF;
        return true;
    case MetaSetTextColor:
        m_state.textColour = p.U32(0) & 0xFFFFFF;
        return true;
    case MetaSetWindowOrg:
        m_state.mapping.windowOrg = { double(p.I16(2)), double(p.I16(0)) };
        return true;
    case MetaSetWindowExt:
        m_state.mapping.windowExt = { double(p.I16(2)), double(p.I16(0)) };
        return true;
    case MetaSetViewportOrg:
    case MetaSetViewportExt:
        // The viewport is the picture.
        return true;
    default:
        return PlayWmfObject(record) || PlayWmfDrawing(record);
    }
}

bool MetafilePlayer::PlayWmfObject(const Record& record)
{
    const Params p(record);
    switch (record.type) {
    case MetaCreatePenIndirect:
        AddObject(LogPen { p.U16(0) != kNullPen, p.U32(6) & 0xFFFFFF, double(p.I16(2)) });
        return true;
    case MetaCreateBrushIndirect:
        AddObject(LogBrush { p.U16(0) != kNullBrush, p.U32(2) & 0xFFFFFF });
        return true;
    case MetaCreateFontIndirect:
        AddObject(ReadFont(p));
        return true;
    case MetaCreatePalette:
    case MetaCreatePatternBrush:
    case MetaDibCreatePatternBrush:
    case MetaCreateRegion:
        AddObject(std::monostate {}); // takes its slot; not drawn with
        return true;
    case MetaSelectObject:
        SelectObject(p.U16(0));
        return true;
    case MetaDeleteObject:
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
    case MetaMoveTo:
        m_state.position = { double(p.I16(2)), double(p.I16(0)) };
        return true;
    case MetaLineTo:
        LineTo(p.I16(2), p.I16(0));
        return true;
    case MetaRectangle:
        DrawRectangle(p.I16(6), p.I16(4), p.I16(2), p.I16(0));
        return true;
    case MetaEllipse:
        DrawEllipse(p.I16(6), p.I16(4), p.I16(2), p.I16(0));
        return true;
    case MetaPolygon:
        DrawPolygons({ Points(p, 2, uint16_t(p.I16(0))) });
        return true;
    case MetaPolyline:
        DrawPolyline(Points(p, 2, uint16_t(p.I16(0))));
        return true;
    case MetaPolyPolygon: {
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
    case MetaTextOut: {
        const int16_t count = p.I16(0);
        const size_t after = 2 + ((size_t(std::max<int16_t>(count, 0)) + 1) & ~size_t(1));
        DrawText(p.I16(after + 2), p.I16(after), Text(p, 2, count));
        return true;
    }
    case MetaExtTextOut: {
        const uint16_t options = p.U16(6);
        const size_t text = (options & 0x6) ? 16 : 8; // a clipping or opaque rectangle comes first
        DrawText(p.I16(2), p.I16(0), Text(p, text, p.I16(4)));
        return true;
    }
    case MetaStretchDib:
        DrawDib(p.Bytes(22, 0), p.Size() - 22, p.I16(20), p.I16(18), p.I16(16), p.I16(14), p.I16(12),
            p.I16(10), p.I16(8), p.I16(6));
        return true;
    case MetaDibStretchBlt:
        DrawDib(p.Bytes(20, 0), p.Size() - 20, p.I16(18), p.I16(16), p.I16(14), p.I16(12), p.I16(10),
            p.I16(8), p.I16(6), p.I16(4));
        return true;
    case MetaDibBitBlt:
        DrawDib(p.Bytes(16, 0), p.Size() - 16, p.I16(14), p.I16(12), p.I16(10), p.I16(8), p.I16(6), p.I16(4),
            p.I16(10), p.I16(8));
        return true;
    default:
        return false;
    }
}

} // namespace metafile
