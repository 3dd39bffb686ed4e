// Dashed pens, hatched brushes, blits under any raster operation and gradient fills, each a table
// of small metafiles checked by colours at points worked out from their records. The dashes and
// hatches are the player's own: a cosmetic dot 3 pixels long, a geometric one as long as the pen is
// wide, a dash three dots and every gap one dot; hatch lines through the picture's origin.
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RasterOperation.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"
#include "metafile/FixtureTable.h"

#include <algorithm>

#include <array>

namespace {

using namespace fixturetable;

// Windows metafile functions.
constexpr int kMoveTo = 0x0214;
constexpr int kLineTo = 0x0213;
constexpr int kSetBkModeWmf = 0x0102;
constexpr int kCreateBrushIndirect = 0x02FC;
constexpr int kPatBlt = 0x061D;

// Enhanced metafile records.
constexpr uint32_t kSetBkMode = 18;
constexpr uint32_t kSetTextColor = 24;
constexpr uint32_t kSetBkColor = 25;
constexpr uint32_t kMoveToEx = 27;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kCreatePen = 38;
constexpr uint32_t kCreateBrush = 39;
constexpr uint32_t kRectangle = 43;
constexpr uint32_t kLineToEmf = 54;
constexpr uint32_t kStretchBlt = 77;
constexpr uint32_t kStretchDiBits = 81;
constexpr uint32_t kExtCreatePen = 95;
constexpr uint32_t kGradientFill = 118;
constexpr uint32_t kNullPen = 0x80000008;

constexpr uint32_t kTransparent = 1;
constexpr uint32_t kOpaque = 2;
constexpr uint32_t kHatched = 2;
constexpr uint32_t kGeometric = 0x10000;
constexpr uint32_t kFlatEnds = 0x200;
// Paints the brush where the source is white and leaves the picture where it is black.
constexpr uint32_t kBrushThroughSource = 0x00E20746;

const PLPixel32 kYellow(255, 255, 0, 255);

uint32_t U(int v)
{
    return static_cast<uint32_t>(v);
}

// A line from (10, y) to (90, y).
void Line(EmfBuilder& b, int y)
{
    b.Record(kMoveToEx, { 10, U(y) });
    b.Record(kLineToEmf, { 90, U(y) });
}

// A black pen of ExtCreatePen with the style and its user lengths.
void ExtPen(EmfBuilder& b, uint32_t index, uint32_t style, uint32_t width, std::vector<uint32_t> lengths = {})
{
    std::vector<uint32_t> values { index, 0, 0, 0, 0, style, width, 0, 0, 0, U(int(lengths.size())) };
    values.insert(values.end(), lengths.begin(), lengths.end());
    Bytes tail;
    for (const uint32_t v : values)
        Writer::Put32(tail, v);
    b.Record(kExtCreatePen, {}, tail);
    b.Record(kSelectObject, { index });
}

void Pen(EmfBuilder& b, uint32_t index, uint32_t style, uint32_t width)
{
    b.Record(kCreatePen, { index, style, width, 0, 0 });
    b.Record(kSelectObject, { index });
}

void HatchedBrush(EmfBuilder& b, uint32_t index, uint32_t bgr, uint32_t hatch)
{
    b.Record(kCreateBrush, { index, kHatched, bgr, hatch });
    b.Record(kSelectObject, { index });
}

void SolidBrush(EmfBuilder& b, uint32_t index, uint32_t bgr)
{
    b.Record(kCreateBrush, { index, 0, bgr, 0 });
    b.Record(kSelectObject, { index });
}

// A packed 2 x 2 one-bit DIB, the top row 1, 0 and the bottom row 0, 1, with the colour table.
Bytes DiagonalBits(uint32_t colour0, uint32_t colour1)
{
    Bytes dib;
    for (const uint32_t v : { 40u, 2u, 2u, 1u | (1u << 16), 0u, 8u, 0u, 0u, 2u, 0u, colour0, colour1 })
        Writer::Put32(dib, v);
    for (const uint8_t b : { 0x40, 0, 0, 0, 0x80, 0, 0, 0 }) // bottom row first
        dib.push_back(b);
    return dib;
}

// An EMR_STRETCHBLT of a whole 2 x 2 DIB with a 48-byte header and table onto the destination.
void StretchBlt(EmfBuilder& b, const Bytes& dib, std::array<int, 4> destination, uint32_t rop)
{
    const auto [x, y, width, height] = destination;
    constexpr uint32_t kOne = 0x3F800000; // 1.0f
    std::vector<uint32_t> values { 0, 0, 0, 0, U(x), U(y), U(width), U(height), rop, 0, 0, kOne, 0, 0, kOne,
        0, 0, 0, 0, 108, 48, 156, U(int(dib.size())) - 48, 2, 2 };
    Bytes record;
    for (const uint32_t v : values)
        Writer::Put32(record, v);
    record.insert(record.end(), dib.begin(), dib.end());
    b.Record(kStretchBlt, {}, record);
}

// An EMR_STRETCHDIBITS of a whole 2 x 2 DIB with a 48-byte header and table onto the destination.
void StretchDiBits(EmfBuilder& b, const Bytes& dib, std::array<int, 4> destination, uint32_t rop)
{
    const auto [x, y, width, height] = destination;
    b.Record(kStretchDiBits,
        { 0, 0, 0, 0, U(x), U(y), 0, 0, 2, 2, 80, 48, 128, U(int(dib.size())) - 48, 0, rop, U(width),
            U(height) },
        dib);
}

struct GradientVertex {
    int x;
    int y;
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

// An EMR_GRADIENTFILL of the vertices and the shapes' vertex indices in the mode.
void GradientFill(EmfBuilder& b, const std::vector<GradientVertex>& vertices, uint32_t mode,
    const std::vector<std::vector<uint32_t>>& shapes)
{
    Bytes tail;
    for (const uint32_t v : { 0u, 0u, 0u, 0u, U(int(vertices.size())), U(int(shapes.size())), mode })
        Writer::Put32(tail, v);
    for (const GradientVertex& v : vertices) {
        Writer::Put32(tail, U(v.x));
        Writer::Put32(tail, U(v.y));
        for (const int c : { int(v.red), int(v.green), int(v.blue), 0 })
            Writer::Put16(tail, c);
    }
    for (const auto& shape : shapes)
        for (const uint32_t index : shape)
            Writer::Put32(tail, index);
    b.Record(kGradientFill, {}, tail);
}

void CheckAll(const std::vector<Fixture>& fixtures)
{
    for (const Fixture& f : fixtures) {
        SCOPED_TRACE(f.name);
        CheckFixture(f);
    }
}

TEST(MetafileStyles, DashedPensLeaveTheirGapsOrFillThemWithTheBackground)
{
    const std::vector<Fixture> fixtures {
        { "emf-dashed-pens",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSetBkMode, { kTransparent });
                    Pen(b, 1, 1, 0); // dash: on 10 to 18, off 19 to 21, on from 22
                    Line(b, 10);
                    Pen(b, 2, 2, 1); // dot: on 10 to 12, off 13 to 15, on from 16
                    Line(b, 20);
                    ExtPen(b, 3, kGeometric | kFlatEnds | 2, 4); // dot 4 wide: on 10 to 13, off 14 to 17
                    Line(b, 30);
                    ExtPen(b, 4, kGeometric | 1, 4); // round dash 4 wide: on 8 to 19, off 20 to 23
                    Line(b, 40);
                    ExtPen(b, 5, kGeometric | kFlatEnds | 7, 2, { 10, 5 }); // user: on 10 to 19, off 20 to 24
                    Line(b, 50);
                    Pen(b, 6, 3, 0); // dash dot: on 10 to 18, off 19 to 21, on 22 to 24, off 25 to 27
                    Line(b, 60);
                    Pen(b, 7, 1, 5); // a dashed pen of CreatePen 5 wide: solid
                    Line(b, 70);
                    b.Record(kSetBkMode, { kOpaque });
                    b.Record(kSetBkColor, { 0x0000FF });
                    Pen(b, 1, 1, 0); // the gaps red
                    Line(b, 80);
                    ExtPen(b, 2, 8, 1); // alternate: every other pixel, the others red
                    Line(b, 90);
                });
            },
            { { 14, 10, kBlack }, { 20, 10, kWhite }, { 26, 10, kBlack }, { 11, 20, kBlack },
                { 14, 20, kWhite }, { 17, 20, kBlack }, { 12, 30, kBlack }, { 16, 30, kWhite },
                { 20, 30, kBlack }, { 16, 28, kWhite }, { 14, 40, kBlack }, { 22, 40, kWhite },
                { 30, 40, kBlack }, { 15, 50, kBlack }, { 22, 50, kWhite }, { 30, 50, kBlack },
                { 14, 60, kBlack }, { 20, 60, kWhite }, { 23, 60, kBlack }, { 26, 60, kWhite },
                { 20, 70, kBlack }, { 14, 80, kBlack }, { 20, 80, kRed }, { 10, 90, kBlack },
                { 11, 90, kRed }, { 50, 90, kBlack }, { 51, 90, kRed } } },
        { "wmf-dotted-pen",
            [] {
                return Placeable([](Writer& w) {
                    w.Record(kSetBkModeWmf, { 1 });
                    w.Pen(2, 0, 0, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(kMoveTo, { 50, 10 });
                    w.Record(kLineTo, { 50, 90 });
                });
            },
            { { 11, 50, kBlack }, { 14, 50, kWhite }, { 17, 50, kBlack } } },
    };
    CheckAll(fixtures);
}

TEST(MetafileStyles, HatchedBrushesDrawTheirLinesInTheBrushColour)
{
    const std::vector<Fixture> fixtures {
        { "emf-hatched-brushes",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSelectObject, { kNullPen });
                    b.Record(kSetBkMode, { kTransparent });
                    HatchedBrush(b, 1, 0x0000FF, 0); // red rows 0, 8, ...
                    b.Record(kRectangle, { 0, 0, 40, 40 });
                    HatchedBrush(b, 2, 0xFF0000, 2); // blue where x and y agree modulo 8
                    b.Record(kRectangle, { 0, 50, 40, 90 });
                    b.Record(kSetBkMode, { kOpaque });
                    b.Record(kSetBkColor, { 0x00FFFF });
                    HatchedBrush(b, 3, 0x00FF00, 1); // green columns 0, 8, ... on yellow
                    b.Record(kRectangle, { 50, 0, 90, 40 });
                    HatchedBrush(b, 4, 0x000000, 5); // black diagonals both ways on yellow
                    b.Record(kRectangle, { 50, 50, 90, 90 });
                });
            },
            { { 5, 8, kRed }, { 5, 16, kRed }, { 5, 9, kWhite }, { 5, 4, kWhite }, { 13, 53, kBlue },
                { 14, 53, kWhite }, { 13, 54, kWhite }, { 56, 5, kGreen }, { 57, 5, kYellow },
                { 64, 30, kGreen }, { 60, 60, kBlack }, { 62, 58, kBlack }, { 61, 60, kYellow },
                { 95, 95, kWhite } } },
        { "wmf-hatched-brushes",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(kSetBkModeWmf, { 1 });
                    w.Record(kCreateBrushIndirect, { 2, 255, 0, 3 }); // red, up from the left
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(wmfwriter::kRectangle, { 40, 40, 0, 0 });
                    w.Record(kCreateBrushIndirect, { 2, 0, 255, 4 }); // blue cross
                    w.Record(wmfwriter::kSelectObject, { 2 });
                    w.Record(wmfwriter::kRectangle, { 90, 90, 50, 50 });
                });
            },
            { { 10, 14, kRed }, { 11, 14, kWhite }, { 10, 13, kWhite }, { 64, 61, kBlue }, { 61, 64, kBlue },
                { 61, 61, kWhite } } },
    };
    CheckAll(fixtures);
}

TEST(MetafileStyles, BlitsCombineBrushSourceAndPictureByTheirRasterOperation)
{
    const std::vector<Fixture> fixtures {
        { "emf-raster-operations",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSelectObject, { kNullPen });
                    SolidBrush(b, 1, 0x00FF00);
                    b.Record(kRectangle, { U(-1), U(-1), 101, 101 });
                    SolidBrush(b, 2, 0x0000FF);
                    // A one-bit blit source takes the text colour (black) for its 0 bits and the
                    // background colour (white) for its 1 bits, whatever its table: red where the bit
                    // is 1, the green picture where it is 0.
                    b.Record(kSetTextColor, { 0x000000 });
                    b.Record(kSetBkColor, { 0xFFFFFF });
                    StretchBlt(b, DiagonalBits(0xFF0000, 0xFFFF00), { 0, 0, 40, 40 }, kBrushThroughSource);
                    // StretchDIBits takes the DIB's table: white for 0 bits, black for 1 bits.
                    StretchDiBits(
                        b, DiagonalBits(0xFFFFFF, 0x000000), { 50, 0, 40, 40 }, kBrushThroughSource);
                    // The pattern and the picture: magenta and green give black, and with source and
                    // pattern (yellow and red) red.
                    SolidBrush(b, 3, 0xFF00FF);
                    b.Record(76,
                        { 0, 0, 0, 0, 0, 50, 40, 40, 0x00A000C9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
                    SolidBrush(b, 4, 0x0000FF);
                    StretchDiBits(b, DiagonalBits(0xFFFF00, 0xFFFF00), { 50, 50, 40, 40 }, 0x00C000CA);
                });
            },
            { { 10, 10, kRed }, { 30, 10, kGreen }, { 10, 30, kGreen }, { 30, 30, kRed }, { 60, 10, kGreen },
                { 80, 10, kRed }, { 60, 30, kRed }, { 80, 30, kGreen }, { 20, 70, kBlack },
                { 45, 70, kGreen }, { 70, 70, kRed }, { 95, 95, kGreen } } },
        { "wmf-patblt-with-the-picture",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Brush(0, 255, 255, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Record(wmfwriter::kRectangle, { 100, 100, 0, 0 });
                    w.Brush(0, 255, 0, 255);
                    w.Record(wmfwriter::kSelectObject, { 2 });
                    w.Record(kPatBlt, { 0x00C9, 0x00A0, 40, 40, 30, 30 }); // magenta and yellow: red
                });
            },
            { { 50, 50, kRed }, { 20, 20, kYellow }, { 80, 80, kYellow } } },
    };
    CheckAll(fixtures);
}

TEST(MetafileStyles, GradientFillsShadeRectanglesAndTriangles)
{
    const std::vector<Fixture> fixtures {
        { "emf-gradient-fills",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    // Red to blue from left to right over (0, 0) to (50, 40); green to black from top
                    // to bottom over (50, 0) to (100, 40); a triangle red, green, blue at (0, 50),
                    // (100, 50) and (0, 100).
                    GradientFill(b, { { 0, 0, 0xFF00, 0, 0 }, { 50, 40, 0, 0, 0xFF00 } }, 0, { { 0, 1 } });
                    GradientFill(b, { { 50, 0, 0, 0xFF00, 0 }, { 100, 40, 0, 0, 0 } }, 1, { { 0, 1 } });
                    GradientFill(b,
                        { { 0, 50, 0xFF00, 0, 0 }, { 100, 50, 0, 0xFF00, 0 }, { 0, 100, 0, 0, 0xFF00 } }, 2,
                        { { 0, 1, 2 } });
                });
            },
            { { 0, 20, kRed, 6 }, { 49, 20, kBlue, 6 }, { 24, 20, Opaque(130, 0, 124), 2 },
                { 75, 0, kGreen, 6 }, { 75, 39, kBlack, 6 }, { 75, 20, Opaque(0, 124, 0), 2 },
                { 25, 45, kWhite }, { 0, 50, kRed, 10 }, { 98, 50, kGreen, 10 }, { 0, 98, kBlue, 10 },
                { 25, 62, Opaque(126, 65, 63), 2 }, { 90, 90, kWhite } } },
    };
    CheckAll(fixtures);
}

// Pixels worked out one by one are bounded: of many records covering the whole picture, those
// past 64 times its size are skipped, so that no small file keeps the player busy for long.
TEST(MetafileStyles, PixelByPixelWorkIsBoundedByThePictureSize)
{
    struct Case {
        const char* name;
        std::function<void(EmfBuilder&)> record;
        const char* call;
    };
    const std::vector<Case> cases {
        { "gradient rectangles",
            [](EmfBuilder& b) {
                GradientFill(b, { { 0, 0, 0xFF00, 0, 0 }, { 100, 100, 0, 0, 0xFF00 } }, 0,
                    std::vector<std::vector<uint32_t>>(70, { 0, 1 }));
            },
            "picture" },
        { "pattern and picture blits",
            [](EmfBuilder& b) {
                for (int i = 0; i < 70; ++i)
                    b.Record(76,
                        { 0, 0, 0, 0, 0, 0, 100, 100, 0x00A000C9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
            },
            "blit" },
    };
    for (const Case& c : cases) {
        const Bytes file = Enhanced(c.record);
        const metafile::Metafile m = metafile::Parse(file.data(), file.size());
        metafile::RecordingMetafileCanvas canvas;
        metafile::MetafilePlayer player(m, canvas, 100, 100);
        player.Play();
        const auto drawn = std::count_if(canvas.calls.begin(), canvas.calls.end(),
            [&](const std::string& call) { return call.rfind(c.call, 0) == 0; });
        EXPECT_EQ(drawn, metafile::kPixelWorkPerPixel) << c.name;
    }
}

// The named operations by their formulas over P, S and D.
TEST(RasterOperation, NamedOperationsFollowTheirFormulas)
{
    struct Case {
        uint32_t rop;
        uint32_t (*formula)(uint32_t p, uint32_t s, uint32_t d);
        bool source;
        bool pattern;
    };
    const Case cases[] {
        { 0x00000042, [](uint32_t, uint32_t, uint32_t) { return 0u; }, false, false },
        { 0x001100A6, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }, true, false },
        { 0x00330008, [](uint32_t, uint32_t s, uint32_t) { return ~s; }, true, false },
        { 0x00440328, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }, true, false },
        { 0x00550009, [](uint32_t, uint32_t, uint32_t d) { return ~d; }, false, false },
        { 0x005A0049, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }, false, true },
        { 0x00660046, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }, true, false },
        { 0x008800C6, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }, true, false },
        { 0x00BB0226, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }, true, false },
        { 0x00C000CA, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }, true, true },
        { 0x00CC0020, [](uint32_t, uint32_t s, uint32_t) { return s; }, true, false },
        { 0x00EE0086, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }, true, false },
        { 0x00F00021, [](uint32_t p, uint32_t, uint32_t) { return p; }, false, true },
        { 0x00FB0A09, [](uint32_t p, uint32_t s, uint32_t d) { return p | ~s | d; }, true, true },
        { 0x00FF0062, [](uint32_t, uint32_t, uint32_t) { return ~0u; }, false, false },
        { kBrushThroughSource, [](uint32_t p, uint32_t s, uint32_t d) { return ((d ^ p) & s) ^ d; }, true,
            true },
    };
    const uint32_t p = 0x00F0A50F, s = 0x00CC33AA, d = 0x0096E13C;
    for (const Case& c : cases) {
        const uint8_t index = metafile::RopIndex(c.rop);
        EXPECT_EQ(metafile::Rop3(index, p, s, d), c.formula(p, s, d) & 0xFFFFFF) << std::hex << c.rop;
        EXPECT_EQ(metafile::UsesSource(index), c.source) << std::hex << c.rop;
        EXPECT_EQ(metafile::UsesPattern(index), c.pattern) << std::hex << c.rop;
    }
}

} // namespace
