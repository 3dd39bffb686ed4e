// One table of small metafiles, one or a few record kinds each (shapes, paths, arcs, clipping,
// regions, mapping, text placement, blits without pictures), checked as the fixture table does.
#include "metafile/FixtureTable.h"

namespace {

using namespace fixturetable;
using emfbuilder::FloatBits;
using emfbuilder::TwoByTwoDib;

// Windows metafile functions.
constexpr int kSetTextAlign = 0x012E;
constexpr int kMoveTo = 0x0214;
constexpr int kExtTextOut = 0x0A32;
constexpr int kSetPixel = 0x041F;
constexpr int kPatBlt = 0x061D;
constexpr int kDibBitBlt = 0x0940;
constexpr int kDibStretchBlt = 0x0B41;
constexpr int kStretchDib = 0x0F43;
constexpr int kBitBlt = 0x0922;
constexpr int kStretchBlt = 0x0B23;
constexpr int kPie = 0x081A;
constexpr int kChord = 0x0830;
constexpr int kRoundRect = 0x061C;
constexpr int kIntersectClipRect = 0x0416;
constexpr int kExcludeClipRect = 0x0415;
constexpr int kOffsetClipRgn = 0x0220;
constexpr int kCreateRegion = 0x06FF;
constexpr int kSelectClipRegion = 0x012C;
constexpr int kFillRegion = 0x0228;
constexpr int kFrameRegion = 0x0429;
constexpr int kInvertRegion = 0x012A;
constexpr int kScaleWindowExt = 0x0410;
constexpr int kOffsetViewportOrg = 0x0211;
constexpr int kDibCreatePatternBrush = 0x0142;
constexpr int kCreatePatternBrush = 0x01F9;

// Enhanced metafile records.
constexpr uint32_t kSetPixelV = 15;
constexpr uint32_t kSetMapMode = 17;
constexpr uint32_t kSetRop2 = 20;
constexpr uint32_t kSetStretchBltMode = 21;
constexpr uint32_t kSetTextAlignEmf = 22;
constexpr uint32_t kOffsetClipRgnEmf = 26;
constexpr uint32_t kMoveToEx = 27;
constexpr uint32_t kExcludeClipRectEmf = 29;
constexpr uint32_t kIntersectClipRectEmf = 30;
constexpr uint32_t kScaleViewportExtEx = 31;
constexpr uint32_t kScaleWindowExtEx = 32;
constexpr uint32_t kSaveDc = 33;
constexpr uint32_t kRestoreDc = 34;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kCreatePen = 38;
constexpr uint32_t kCreateBrush = 39;
constexpr uint32_t kAngleArc = 41;
constexpr uint32_t kRectangle = 43;
constexpr uint32_t kRoundRectEmf = 44;
constexpr uint32_t kPieEmf = 47;
constexpr uint32_t kLineTo = 54;
constexpr uint32_t kArcTo = 55;
constexpr uint32_t kSetArcDirection = 57;
constexpr uint32_t kSetMiterLimit = 58;
constexpr uint32_t kBeginPath = 59;
constexpr uint32_t kEndPath = 60;
constexpr uint32_t kCloseFigure = 61;
constexpr uint32_t kFillPath = 62;
constexpr uint32_t kStrokeAndFillPath = 63;
constexpr uint32_t kStrokePath = 64;
constexpr uint32_t kWidenPath = 66;
constexpr uint32_t kSelectClipPath = 67;
constexpr uint32_t kAbortPath = 68;
constexpr uint32_t kFillRgn = 71;
constexpr uint32_t kFrameRgn = 72;
constexpr uint32_t kInvertRgn = 73;
constexpr uint32_t kPaintRgn = 74;
constexpr uint32_t kExtSelectClipRgn = 75;
constexpr uint32_t kStretchBltEmf = 77;
constexpr uint32_t kSetDiBitsToDevice = 80;
constexpr uint32_t kExtTextOutW = 84;
constexpr uint32_t kPolyBezier16 = 85;
constexpr uint32_t kPolylineTo16 = 89;
constexpr uint32_t kPolyPolyline16 = 90;
constexpr uint32_t kPolyPolyline = 7;
constexpr uint32_t kPolyline16 = 87;
constexpr uint32_t kExtCreatePen = 95;
constexpr uint32_t kCreateDibPatternBrushPt = 94;
constexpr uint32_t kAlphaBlend = 114;
constexpr uint32_t kStock = 0x80000000;
constexpr uint32_t kNullPen = kStock | 8;

constexpr int kPatCopyLow = 0x0021;
constexpr int kPatCopyHigh = 0x00F0;

uint32_t Point16(int x, int y)
{
    return uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16);
}

// A one-rectangle region as a Windows metafile object (one scan).
void Region(Writer& w, int left, int top, int right, int bottom)
{
    w.Record(
        kCreateRegion, { 0, 6, 0, 0, 0, 1, 0, left, top, right, bottom, 2, top, bottom, left, right, 2 });
}

// Region data of one rectangle for the enhanced records.
Bytes RegionData(int left, int top, int right, int bottom)
{
    Bytes data;
    for (const int v : { 32, 1, 1, 16, left, top, right, bottom, left, top, right, bottom })
        Writer::Put32(data, uint32_t(v));
    return data;
}

// A two-by-two one-bit bitmap of a Windows metafile: white, black / black, white (rows of 2 bytes).
std::vector<int> CheckerBitmap16()
{
    return { 0, 2, 2, 2, 1 | (1 << 8) };
}
Bytes CheckerRows()
{
    return { 0x80, 0, 0x40, 0 };
}

// A 32-bit 2 x 2 picture of blue at half alpha, premultiplied.
Bytes HalfBlueDib()
{
    Bytes dib;
    for (const uint32_t v : { 40u, 2u, 2u, 1u | (32u << 16), 0u, 16u, 0u, 0u, 0u, 0u })
        Writer::Put32(dib, v);
    for (int i = 0; i < 4; ++i)
        for (const uint8_t b : { 128, 0, 0, 128 })
            dib.push_back(b);
    return dib;
}

// A 24-bit picture one row high: black, white.
Bytes BlackWhiteDib()
{
    Bytes dib;
    for (const uint32_t v : { 40u, 2u, 1u, 1u | (24u << 16), 0u, 8u, 0u, 0u, 0u, 0u })
        Writer::Put32(dib, v);
    for (const uint8_t b : { 0, 0, 0, 255, 255, 255, 0, 0 })
        dib.push_back(b);
    return dib;
}

// A text record of UTF-16 characters with their advances, at (x, y).
void TextWithAdvances(
    EmfBuilder& b, int x, int y, const std::u16string& text, std::initializer_list<int> advances)
{
    Bytes tail;
    for (const char16_t c : text)
        Writer::Put16(tail, c);
    while (tail.size() % 4)
        tail.push_back(0);
    const uint32_t dxAt = uint32_t(76 + tail.size());
    for (const int a : advances)
        Writer::Put32(tail, uint32_t(a));
    b.Record(kExtTextOutW,
        { 0, 0, 0, 0, 1, 0, 0, uint32_t(x), uint32_t(y), uint32_t(text.size()), 76, 0, 0, 0, 0, 0, dxAt },
        tail);
}

// A black geometric pen of ExtCreatePen with the end cap and join bits of its style.
void GeometricPen(EmfBuilder& b, uint32_t index, uint32_t capAndJoin, uint32_t width)
{
    constexpr uint32_t kGeometric = 0x10000;
    b.Record(kExtCreatePen, { index, 0, 0, 0, 0, kGeometric | capAndJoin, width, 0, 0, 0, 0 });
    b.Record(kSelectObject, { index });
}

// A line from (x - 10, 90) up to (x, 40) and down to (x + 10, 90): the miter at its apex is
// 1 / sin(atan(10 / 50)) = 5.10 pen widths long.
void Apex(EmfBuilder& b, int x)
{
    b.Record(kPolyline16, { 0, 0, 0, 0, 3, Point16(x - 10, 90), Point16(x, 40), Point16(x + 10, 90) });
}

void SolidBrush(EmfBuilder& b, uint32_t index, uint32_t bgr)
{
    b.Record(kCreateBrush, { index, 0, bgr, 0 });
    b.Record(kSelectObject, { index });
}

const std::vector<Fixture>& Fixtures()
{
    static const std::vector<Fixture> fixtures {
        { "wmf-dibbitblt-without-bitmap",
            [] {
                return Placeable([](Writer& w) {
                    w.Brush(0, 0, 0, 255);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(kDibBitBlt, { kPatCopyLow, kPatCopyHigh, 0, 0, 0, 80, 80, 10, 10 });
                });
            },
            { { 50, 50, kBlue }, { 12, 12, kBlue }, { 5, 5, kWhite }, { 95, 95, kWhite } }, {},
            Peer::Libwmf },
        { "wmf-blits-without-bitmap",
            [] {
                return Placeable([](Writer& w) {
                    w.Brush(0, 0, 255, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(kPatBlt, { kPatCopyLow, kPatCopyHigh, 30, 40, 10, 10 }); // green
                    w.Record(kPatBlt, { 0x0009, 0x0055, 60, 20, 30, 30 }); // inverted
                    w.Record(kStretchDib, { 0x0042, 0x0000, 0, 0, 0, 0, 0, 20, 20, 70, 70 }); // black
                    w.Record(kDibStretchBlt,
                        { kPatCopyLow, kPatCopyHigh, 0, 0, 0, 0, 0, 10, 10, 75, 10 }); // green
                });
            },
            { { 20, 20, kGreen }, { 35, 20, kGreen }, { 35, 35, Opaque(255, 0, 255) }, { 35, 60, kBlack },
                { 80, 80, kBlack }, { 15, 60, kWhite }, { 15, 80, kGreen }, { 60, 60, kWhite } } },
        { "wmf-pie-and-chord",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Brush(0, 0, 255, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    // From the right (60, 30) counter-clockwise to the top (30, 0): the top right quarter.
                    w.Record(kPie, { 0, 30, 30, 60, 60, 60, 0, 0 });
                    // From the right to the left counter-clockwise: the upper half.
                    w.Record(kChord, { 80, 60, 80, 100, 100, 100, 60, 60 });
                });
            },
            { { 45, 15, kGreen }, { 15, 15, kWhite }, { 15, 45, kWhite }, { 45, 45, kWhite },
                { 80, 70, kGreen }, { 80, 90, kWhite } },
            {}, Peer::Libwmf },
        { "wmf-roundrect",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Brush(0, 255, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(kRoundRect, { 40, 40, 90, 90, 10, 10 });
                });
            },
            { { 50, 50, kRed }, { 12, 12, kWhite }, { 12, 50, kRed }, { 50, 12, kRed }, { 87, 87, kWhite } },
            {}, Peer::Libwmf },
        { "wmf-clip-rectangles-kept-by-savedc",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Brush(0, 255, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(kIntersectClipRect, { 80, 80, 20, 20 });
                    w.Record(kExcludeClipRect, { 60, 60, 40, 40 });
                    w.Record(wmfwriter::kSaveDc, {});
                    w.Record(kIntersectClipRect, { 100, 30, 0, 0 });
                    w.Record(wmfwriter::kRestoreDc, { 0xFFFF });
                    w.Record(wmfwriter::kRectangle, { 100, 100, 0, 0 });
                });
            },
            { { 10, 10, kWhite }, { 25, 25, kRed }, { 50, 50, kWhite }, { 70, 70, kRed },
                { 90, 90, kWhite } },
            {}, Peer::Libwmf },
        { "wmf-regions",
            [] {
                return Placeable([](Writer& w) {
                    Region(w, 10, 10, 40, 40); // 0
                    w.Brush(0, 0, 0, 255); // 1
                    Region(w, 60, 60, 90, 90); // 2
                    Region(w, 10, 60, 40, 90); // 3
                    Region(w, 60, 10, 90, 40); // 4
                    w.Pen(5, 0, 0, 0, 0); // 5
                    w.Record(wmfwriter::kSelectObject, { 5 });
                    w.Record(kFillRegion, { 0, 1 });
                    w.Record(kInvertRegion, { 3 });
                    w.Record(kFrameRegion, { 4, 1, 3, 3 });
                    w.Record(kSelectClipRegion, { 2 });
                    w.Record(kOffsetClipRgn, { 5, 5 });
                    w.Brush(0, 255, 0, 0); // 6
                    w.Record(wmfwriter::kSelectObject, { 6 });
                    w.Record(wmfwriter::kRectangle, { 100, 100, 0, 0 });
                });
            },
            { { 25, 25, kBlue }, { 25, 75, kBlack }, { 61, 25, kBlue }, { 75, 25, kWhite }, { 75, 75, kRed },
                { 92, 92, kRed }, { 62, 62, kWhite }, { 50, 50, kWhite } } },
        { "wmf-scale-and-offset-mapping",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Brush(0, 255, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(kScaleWindowExt, { 1, 2, 1, 2 }); // twice the window: half the size
                    w.Record(wmfwriter::kRectangle, { 100, 100, 0, 0 });
                    w.Record(kOffsetViewportOrg, { 0, 50 });
                    w.Brush(0, 0, 0, 255);
                    w.Record(wmfwriter::kSelectObject, { 2 });
                    w.Record(wmfwriter::kRectangle, { 100, 100, 0, 0 });
                });
            },
            { { 40, 40, kRed }, { 60, 60, kWhite }, { 75, 25, kBlue }, { 75, 75, kWhite } } },
        { "wmf-setpixel",
            [] { return Placeable([](Writer& w) {
                     w.Record(kSetPixel, { 0x00FF, 0, 50, 50 });
                 }); },
            { { 50, 50, kRed }, { 51, 50, kWhite }, { 49, 50, kWhite }, { 50, 51, kWhite } } },
        { "wmf-text-advances",
            [] {
                return Placeable([](Writer& w) {
                    // "II" with advances of 40.
                    w.RecordOf(kExtTextOut, { 10, 10, 2, 0 }, { 'I', 'I', 40, 0, 40, 0 });
                });
            },
            {}, { { 8, 10, 20, 28, true }, { 20, 10, 48, 28, false }, { 48, 10, 60, 28, true } },
            Peer::Libwmf },
        { "wmf-text-from-the-current-position",
            [] {
                return Placeable([](Writer& w) {
                    // From the current position, "I" twice, each advancing 40 (libwmf moves down instead).
                    w.Record(kSetTextAlign, { 1 });
                    w.Record(kMoveTo, { 60, 10 });
                    w.RecordOf(kExtTextOut, { 0, 0, 1, 0 }, { 'I', 0, 40, 0 });
                    w.RecordOf(kExtTextOut, { 0, 0, 1, 0 }, { 'I', 0, 40, 0 });
                });
            },
            {}, { { 8, 60, 20, 78, true }, { 20, 60, 48, 78, false }, { 48, 60, 60, 78, true } } },
        { "wmf-pattern-brushes",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    Bytes dib = TwoByTwoDib();
                    w.RecordOf(kDibCreatePatternBrush, { 5, 0 }, dib); // 1
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(wmfwriter::kRectangle, { 50, 100, 0, 0 });
                    std::vector<int> words = CheckerBitmap16();
                    words.insert(words.end(), 2 + 9, 0); // the bits pointer and the reserved bytes
                    w.RecordOf(kCreatePatternBrush, words, CheckerRows()); // 2
                    w.Record(wmfwriter::kSelectObject, { 2 });
                    w.Record(wmfwriter::kRectangle, { 100, 100, 50, 0 });
                });
            },
            { { 0, 0, kRed }, { 1, 0, kGreen }, { 0, 1, kBlue }, { 1, 1, kWhite }, { 10, 10, kRed },
                { 60, 60, kWhite }, { 61, 60, kBlack }, { 60, 61, kBlack }, { 61, 61, kWhite } } },
        { "wmf-bitmap-blits",
            [] {
                return Placeable([](Writer& w) {
                    std::vector<int> words { 0x0020, 0x00CC, 2, 2, 0, 0, 40, 40, 10, 10 };
                    const std::vector<int> bitmap = CheckerBitmap16();
                    words.insert(words.end(), bitmap.begin(), bitmap.end());
                    w.RecordOf(kStretchBlt, words, CheckerRows());
                    words = { 0x0020, 0x00CC, 0, 0, 2, 2, 60, 60 };
                    words.insert(words.end(), bitmap.begin(), bitmap.end());
                    w.RecordOf(kBitBlt, words, CheckerRows());
                });
            },
            { { 15, 15, kWhite }, { 35, 15, kBlack }, { 15, 35, kBlack }, { 35, 35, kWhite },
                { 60, 60, kWhite }, { 61, 60, kBlack }, { 60, 61, kBlack }, { 62, 62, kWhite } } },
        { "emf-fillpath-of-four-lines",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0x0000FF);
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kBeginPath, {});
                    b.Record(kMoveToEx, { 20, 20 });
                    for (const auto& [x, y] : { std::pair { 80, 20 }, { 80, 80 }, { 20, 80 }, { 20, 20 } })
                        b.Record(kLineTo, { uint32_t(x), uint32_t(y) });
                    b.Record(kCloseFigure, {});
                    b.Record(kEndPath, {});
                    b.Record(kFillPath, { 0, 0, 100, 100 });
                });
            },
            { { 50, 50, kRed }, { 25, 75, kRed }, { 10, 10, kWhite }, { 90, 50, kWhite } }, {},
            Peer::Emf2svg },
        { "emf-strokeandfillpath-strokepath-abortpath",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0xFF0000);
                    b.Record(kCreatePen, { 2, 0, 5, 0, 0 });
                    b.Record(kSelectObject, { 2 });
                    b.Record(kBeginPath, {});
                    b.Record(kRectangle, { 20, 20, 80, 60 });
                    b.Record(kEndPath, {});
                    b.Record(kStrokeAndFillPath, { 0, 0, 100, 100 });
                    b.Record(kBeginPath, {});
                    b.Record(kRectangle, { 0, 0, 100, 100 });
                    b.Record(kAbortPath, {});
                    b.Record(kFillPath, { 0, 0, 100, 100 }); // nothing left to fill
                    b.Record(kBeginPath, {});
                    b.Record(kMoveToEx, { 10, 80 });
                    b.Record(kLineTo, { 90, 80 });
                    b.Record(kEndPath, {});
                    b.Record(kStrokePath, { 0, 0, 100, 100 });
                });
            },
            { { 50, 40, kBlue }, { 20, 40, kBlack }, { 50, 20, kBlack }, { 10, 10, kWhite },
                { 50, 80, kBlack }, { 50, 70, kWhite } } },
        { "emf-widenpath-and-selectclippath",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0x0000FF);
                    b.Record(kCreatePen, { 2, 0, 10, 0, 0 });
                    b.Record(kSelectObject, { 2 });
                    b.Record(kBeginPath, {});
                    b.Record(kMoveToEx, { 10, 20 });
                    b.Record(kLineTo, { 90, 20 });
                    b.Record(kEndPath, {});
                    b.Record(kWidenPath, {});
                    b.Record(kFillPath, { 0, 0, 100, 100 }); // a red band 10 high along y = 20
                    b.Record(kBeginPath, {});
                    b.Record(kRectangle, { 0, 50, 50, 100 });
                    b.Record(kEndPath, {});
                    b.Record(kSelectClipPath, { 5 });
                    SolidBrush(b, 3, 0x00FF00);
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kRectangle, { 0, 0, 100, 100 });
                });
            },
            { { 50, 20, kRed }, { 50, 17, kRed }, { 50, 30, kWhite }, { 25, 75, kGreen }, { 75, 75, kWhite },
                { 50, 40, kWhite } } },
        { "emf-16-bit-poly-records-and-polypolyline",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kCreatePen, { 1, 0, 3, 0, 0 });
                    b.Record(kSelectObject, { 1 });
                    b.Record(kMoveToEx, { 10, 10 });
                    b.Record(kPolylineTo16, { 0, 0, 0, 0, 1, Point16(90, 10) });
                    b.Record(kPolyPolyline16,
                        { 0, 0, 0, 0, 2, 4, 2, 2, Point16(10, 30), Point16(90, 30), Point16(10, 50),
                            Point16(90, 50) });
                    b.Record(kPolyBezier16,
                        { 0, 0, 0, 0, 4, Point16(10, 70), Point16(40, 70), Point16(60, 70),
                            Point16(90, 70) });
                    b.Record(kPolyPolyline, { 0, 0, 0, 0, 1, 2, 2, 10, 90, 90, 90 });
                });
            },
            { { 50, 10, kBlack }, { 50, 30, kBlack }, { 50, 50, kBlack }, { 50, 70, kBlack },
                { 50, 90, kBlack }, { 50, 20, kWhite }, { 50, 40, kWhite }, { 5, 5, kWhite },
                { 95, 20, kWhite } },
            { { 0, 0, 8, 8, false } } },
        { "emf-pies-arcs-and-roundrect",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0x00FF00);
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kPieEmf, { 0, 0, 60, 60, 60, 30, 30, 0 }); // the top right quarter
                    b.Record(kSetArcDirection, { 2 });
                    b.Record(kPieEmf, { 40, 40, 100, 100, 100, 70, 70, 40 }); // all but the top right quarter
                    b.Record(kRoundRectEmf, { 0, 70, 30, 100, 20, 20 });
                });
            },
            { { 45, 15, kGreen }, { 15, 45, kWhite }, { 85, 55, kWhite }, { 55, 85, kGreen },
                { 85, 85, kGreen }, { 15, 85, kGreen }, { 1, 71, kWhite } },
            {}, Peer::Emf2svg },
        { "emf-anglearc-and-arcto-move-the-position",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kCreatePen, { 1, 0, 3, 0, 0 });
                    b.Record(kSelectObject, { 1 });
                    b.Record(kMoveToEx, { 10, 90 });
                    // A line to (80, 50), the arc a quarter turn up to (50, 20), then on to (50, 5).
                    b.Record(kAngleArc, { 50, 50, 30, FloatBits(0), FloatBits(90) });
                    b.Record(kLineTo, { 50, 5 });
                    // From there a line to the arc's start at the right (90, 80) and half a turn to (70, 80).
                    b.Record(kArcTo, { 70, 70, 90, 90, 95, 80, 60, 80 });
                    b.Record(kLineTo, { 70, 99 });
                });
            },
            { { 50, 10, kBlack }, { 71, 29, kBlack }, { 45, 70, kBlack }, { 80, 70, kBlack },
                { 70, 95, kBlack }, { 30, 30, kWhite }, { 80, 88, kWhite } } },
        { "emf-clipping-kept-by-savedc",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0x0000FF);
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kIntersectClipRectEmf, { 20, 20, 80, 80 });
                    b.Record(kExcludeClipRectEmf, { 40, 40, 60, 60 });
                    b.Record(kSaveDc, {});
                    const Bytes region = RegionData(0, 0, 10, 100);
                    b.Record(kExtSelectClipRgn, { uint32_t(region.size()), 5 }, region);
                    b.Record(kRestoreDc, { uint32_t(-1) });
                    b.Record(kRectangle, { 0, 0, 100, 100 });
                    const Bytes right = RegionData(90, 0, 100, 10);
                    b.Record(kExtSelectClipRgn, { uint32_t(right.size()), 5 }, right);
                    b.Record(kOffsetClipRgnEmf, { uint32_t(-5), 5 });
                    b.Record(kRectangle, { 0, 0, 100, 100 });
                });
            },
            { { 10, 10, kWhite }, { 25, 25, kRed }, { 50, 50, kWhite }, { 70, 70, kRed }, { 5, 50, kWhite },
                { 90, 10, kRed }, { 97, 3, kWhite } } },
        { "emf-regions",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kCreateBrush, { 1, 0, 0xFF0000, 0 }); // blue, not selected
                    SolidBrush(b, 2, 0x0000FF);
                    const Bytes fill = RegionData(10, 10, 40, 40);
                    b.Record(kFillRgn, { 0, 0, 0, 0, uint32_t(fill.size()), 1 }, fill);
                    const Bytes paint = RegionData(60, 10, 90, 40);
                    b.Record(kPaintRgn, { 0, 0, 0, 0, uint32_t(paint.size()) }, paint);
                    const Bytes invert = RegionData(10, 60, 40, 90);
                    b.Record(kInvertRgn, { 0, 0, 0, 0, uint32_t(invert.size()) }, invert);
                    const Bytes frame = RegionData(60, 60, 90, 90);
                    b.Record(kFrameRgn, { 0, 0, 0, 0, uint32_t(frame.size()), 1, 3, 3 }, frame);
                });
            },
            { { 25, 25, kBlue }, { 75, 25, kRed }, { 25, 75, kBlack }, { 61, 75, kBlue }, { 75, 61, kBlue },
                { 75, 75, kWhite }, { 50, 50, kWhite } } },
        { "emf-setpixel-rop2-and-scaled-mapping",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSetPixelV, { 95, 95, 0x0000FF });
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kSetMapMode, { 8 });
                    b.Record(9, { 100, 100 }); // window extent
                    b.Record(11, { 100, 100 }); // viewport extent
                    b.Record(kScaleWindowExtEx, { 2, 1, 2, 1 }); // half the size
                    SolidBrush(b, 1, 0x0000FF);
                    b.Record(kRectangle, { 0, 0, 100, 100 }); // red over (0, 0) to (50, 50)
                    b.Record(kScaleViewportExtEx, { 2, 1, 2, 1 }); // back to one unit a pixel
                    b.Record(kSetRop2, { 7 }); // xor
                    b.Record(kSelectObject, { kStock | 0 }); // white
                    b.Record(kRectangle, { 25, 0, 100, 25 });
                });
            },
            { { 95, 95, kRed }, { 96, 95, kWhite }, { 10, 40, kRed }, { 40, 10, Opaque(0, 255, 255) },
                { 60, 10, kBlack }, { 60, 40, kWhite } } },
        { "emf-alphablend-stretch-mode-setdibitstodevice-pattern",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    SolidBrush(b, 1, 0x0000FF);
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kRectangle, { 0, 0, 50, 50 });
                    b.Record(kAlphaBlend,
                        { 0, 0, 0, 0, 0, 0, 50, 50, 0x01FF0000, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0,
                            0, 0, 108, 40, 148, 16, 2, 2 },
                        HalfBlueDib());
                    b.Record(kSetStretchBltMode, { 4 });
                    b.Record(kStretchBltEmf,
                        { 0, 0, 0, 0, 50, 0, 50, 10, 0x00CC0020, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0,
                            0, 0, 108, 40, 148, 8, 2, 1 },
                        BlackWhiteDib());
                    b.Record(kSetDiBitsToDevice, { 0, 0, 0, 0, 60, 20, 0, 0, 2, 2, 76, 40, 116, 16, 0, 0, 2 },
                        TwoByTwoDib());
                    b.Record(kCreateDibPatternBrushPt, { 2, 0, 32, 40, 72, 16 }, TwoByTwoDib());
                    b.Record(kSelectObject, { 2 });
                    b.Record(kRectangle, { 0, 50, 50, 100 });
                });
            },
            { { 25, 25, Opaque(127, 0, 128), 2 }, { 75, 5, Opaque(128, 128, 128), 100 },
                { 52, 5, kBlack, 40 }, { 98, 5, kWhite, 40 }, { 60, 20, kRed }, { 61, 20, kGreen },
                { 60, 21, kBlue }, { 61, 21, kWhite }, { 62, 20, kWhite }, { 10, 60, kRed },
                { 11, 60, kGreen }, { 10, 61, kBlue } } },
        { "emf-pen-end-caps",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    // Lines from x 30 to 70, 20 wide: flat, square and (CreatePen) round ends.
                    GeometricPen(b, 1, 0x200, 20);
                    b.Record(kMoveToEx, { 30, 20 });
                    b.Record(kLineTo, { 70, 20 });
                    GeometricPen(b, 2, 0x100, 20);
                    b.Record(kMoveToEx, { 30, 50 });
                    b.Record(kLineTo, { 70, 50 });
                    b.Record(kCreatePen, { 3, 0, 20, 0, 0 });
                    b.Record(kSelectObject, { 3 });
                    b.Record(kMoveToEx, { 30, 80 });
                    b.Record(kLineTo, { 70, 80 });
                });
            },
            { { 31, 20, kBlack }, { 68, 20, kBlack }, { 50, 11, kBlack }, { 28, 20, kWhite },
                { 71, 20, kWhite }, { 50, 8, kWhite }, { 22, 50, kBlack }, { 78, 50, kBlack },
                { 21, 41, kBlack }, { 18, 50, kWhite }, { 82, 50, kWhite }, { 21, 80, kBlack },
                { 78, 80, kBlack }, { 22, 72, kWhite }, { 78, 88, kWhite }, { 18, 80, kWhite } } },
        { "emf-pen-joins-and-miter-limit",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kCreatePen, { 1, 0, 10, 0, 0 }); // round joins
                    b.Record(kSelectObject, { 1 });
                    Apex(b, 12);
                    GeometricPen(b, 2, 0x2200, 10); // flat ends, miter joins
                    Apex(b, 37); // the default limit of 10: mitered
                    b.Record(kSetMiterLimit, { FloatBits(5.05f) });
                    Apex(b, 62); // bevelled
                    b.Record(kSetMiterLimit, { 6 }); // a whole number
                    Apex(b, 87); // mitered
                });
            },
            { { 12, 37, kBlack }, { 37, 20, kBlack }, { 62, 41, kBlack }, { 87, 20, kBlack } },
            { { 7, 0, 18, 34, false }, { 57, 0, 68, 38, false } } },
        { "wmf-pens-round-whatever-their-style-bits",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(0x0205, 10, 0, 0, 0); // a null pen with the flat end bit
                    w.Brush(0, 255, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(wmfwriter::kRectangle, { 60, 60, 20, 20 });
                    w.Pen(0x2200, 10, 0, 0, 0); // flat ends and miter joins asked of CreatePen
                    w.Record(wmfwriter::kSelectObject, { 2 });
                    w.Record(kMoveTo, { 85, 20 });
                    w.Record(0x0213, { 85, 80 });
                });
            },
            { { 18, 40, kWhite }, { 40, 40, kRed }, { 17, 85, kBlack }, { 83, 85, kBlack },
                { 15, 81, kWhite }, { 84, 89, kWhite } } },
        { "emf-text-advances-and-current-position",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    TextWithAdvances(b, 10, 10, u"II", { 40, 40 });
                    b.Record(kSetTextAlignEmf, { 1 });
                    b.Record(kMoveToEx, { 10, 60 });
                    TextWithAdvances(b, 0, 0, u"I", { 40 });
                    TextWithAdvances(b, 0, 0, u"I", { 40 });
                });
            },
            {},
            { { 8, 10, 20, 28, true }, { 20, 10, 48, 28, false }, { 48, 10, 60, 28, true },
                { 8, 60, 20, 78, true }, { 20, 60, 48, 78, false }, { 48, 60, 60, 78, true } } },
    };
    return fixtures;
}

TEST(MetafileRecords, EveryFixtureDrawsWhatItsRecordsSay)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        CheckFixture(f);
    }
}

TEST(MetafileRecords, PictureSizeIsTruncatedAfterTheDivision)
{
    // 100 x 150 units at 1000 an inch on a 96-dpi screen: 9.6 x 14.4 pixels, so 9 x 14.
    Writer w;
    EXPECT_EQ(Decode(w.File(0, 0, 100, 150, 1000))->GetSize(), PLCoord(9, 14));
}

} // namespace
