// The fixture table's metafiles that put down bitmaps: pictures in every layout a bitmap file may
// have (4 and 16 bits, bit fields, RLE4 and RLE8), monochrome brushes in the text and background
// colours, and blits whose source reaches past the picture or goes through a source transform.
#include "metafile/FixtureTable.h"

#include <array>

namespace {

using namespace fixturetable;
using emfbuilder::FloatBits;

// Windows metafile functions.
constexpr int kSetBkColor = 0x0201;
constexpr int kCreatePatternBrush = 0x01F9;

// Enhanced metafile records.
constexpr uint32_t kSetBkColorEmf = 25;
constexpr uint32_t kSetTextColorEmf = 24;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kCreateBrush = 39;
constexpr uint32_t kRectangle = 43;
constexpr uint32_t kBitBlt = 76;
constexpr uint32_t kStretchBlt = 77;
constexpr uint32_t kStretchDiBits = 81;
constexpr uint32_t kCreateMonoBrush = 93;
constexpr uint32_t kCreateDibPatternBrushPt = 94;
constexpr uint32_t kAlphaBlend = 114;
constexpr uint32_t kNullPen = 0x80000008;
constexpr uint32_t kSourceCopy = 0x00CC0020;

constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;

uint32_t U(int v)
{
    return static_cast<uint32_t>(v);
}

// A packed DIB: a 40-byte header (width, height, bits a pixel, compression, colours used), the
// words that follow it (bit-field masks, or colours as 0x00RRGGBB), then the bits.
Bytes PackedDib(int width, int height, int bits, uint32_t compression, const std::vector<uint32_t>& after,
    const Bytes& pixels, uint32_t coloursUsed = 0)
{
    Bytes dib;
    for (const uint32_t v : { 40u, U(width), U(height), 1u | (U(bits) << 16), compression,
             U(int(pixels.size())), 0u, 0u, coloursUsed, 0u })
        Writer::Put32(dib, v);
    for (const uint32_t v : after)
        Writer::Put32(dib, v);
    dib.insert(dib.end(), pixels.begin(), pixels.end());
    while (dib.size() % 4)
        dib.push_back(0);
    return dib;
}

// Bytes of the header, masks and colours of a packed DIB made with `after` words.
uint32_t InfoBytes(const std::vector<uint32_t>& after)
{
    return 40 + 4 * U(int(after.size()));
}

// A StretchDIBits record: the source rectangle (x, y, width, height; y counted from the bottom row of
// a bottom-up picture) onto the destination (x, y, width, height).
void StretchDiBits(EmfBuilder& b, const Bytes& dib, uint32_t infoBytes, std::array<int, 4> destination,
    std::array<int, 4> source)
{
    constexpr uint32_t kInfoAt = 80;
    const auto [x, y, width, height] = destination;
    b.Record(kStretchDiBits,
        { 0, 0, 0, 0, U(x), U(y), U(source[0]), U(source[1]), U(source[2]), U(source[3]), kInfoAt, infoBytes,
            kInfoAt + infoBytes, U(int(dib.size())) - infoBytes, 0, kSourceCopy, U(width), U(height) },
        dib);
}

// An EMR_BITBLT (no source size) or EMR_STRETCHBLT of the whole 40-byte-header DIB, from source
// (x, y) through the source transform (m11, m22, dx, dy; no rotation).
void Blit(EmfBuilder& b, uint32_t type, const Bytes& dib, std::array<int, 4> destination,
    std::array<int, 4> source, std::array<float, 4> transform)
{
    const bool stretch = type == kStretchBlt;
    const uint32_t infoAt = stretch ? 108 : 100;
    const auto [x, y, width, height] = destination;
    const auto [m11, m22, dx, dy] = transform;
    std::vector<uint32_t> values { 0, 0, 0, 0, U(x), U(y), U(width), U(height), kSourceCopy, U(source[0]),
        U(source[1]), FloatBits(m11), 0, 0, FloatBits(m22), FloatBits(dx), FloatBits(dy), 0, 0, infoAt, 40,
        infoAt + 40, U(int(dib.size())) - 40 };
    if (stretch) {
        values.push_back(U(source[2]));
        values.push_back(U(source[3]));
    }
    Bytes record;
    for (const uint32_t v : values)
        Writer::Put32(record, v);
    record.insert(record.end(), dib.begin(), dib.end());
    b.Record(type, {}, record);
}

void SolidBrush(EmfBuilder& b, uint32_t index, uint32_t bgr)
{
    b.Record(kCreateBrush, { index, 0, bgr, 0 });
    b.Record(kSelectObject, { index });
}

// 10 x 10 at 24 bits, bottom-up, in quarters: red, blue over white, black.
Bytes Quarters()
{
    Bytes rows;
    for (int y = 9; y >= 0; --y) {
        for (int x = 0; x < 10; ++x) {
            const bool top = y < 5;
            const bool left = x < 5;
            const uint32_t rgb = top ? (left ? 0xFF0000 : 0x0000FF) : (left ? 0xFFFFFF : 0x000000);
            for (const int shift : { 0, 8, 16 })
                rows.push_back(uint8_t(rgb >> shift));
        }
        rows.resize(rows.size() + 2, 0);
    }
    return PackedDib(10, 10, 24, 0, {}, rows);
}

// An 8 x 8 one-bit pattern of the given row byte (0xAA: columns 0, 2, ... are 1 bits).
Bytes MonoBits(uint8_t row)
{
    Bytes bits;
    for (int y = 0; y < 8; ++y)
        bits.insert(bits.end(), { row, 0, 0, 0 });
    return bits;
}

const std::vector<Fixture>& Fixtures()
{
    static const std::vector<Fixture> fixtures {
        { "emf-stretchdibits-in-every-bitmap-layout",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    // 4 bits, 2 x 2: red, green over blue, white.
                    const std::vector<uint32_t> four { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF };
                    StretchDiBits(b, PackedDib(2, 2, 4, 0, four, { 0x23, 0, 0, 0, 0x01, 0, 0, 0 }, 4),
                        InfoBytes(four), { 0, 0, 20, 20 }, { 0, 0, 2, 2 });
                    // 16 bits 5-5-5: red, green.
                    StretchDiBits(b, PackedDib(2, 1, 16, 0, {}, { 0x00, 0x7C, 0xE0, 0x03 }), 40,
                        { 30, 0, 20, 10 }, { 0, 0, 2, 1 });
                    // 16 bits 5-6-5 in bit fields after the header: red, blue.
                    const std::vector<uint32_t> masks565 { 0xF800, 0x07E0, 0x001F };
                    StretchDiBits(b, PackedDib(2, 1, 16, kBitFields, masks565, { 0x00, 0xF8, 0x1F, 0x00 }),
                        InfoBytes(masks565), { 60, 0, 20, 10 }, { 0, 0, 2, 1 });
                    // 32 bits in bit fields of blue, green, red bytes: blue, red.
                    const std::vector<uint32_t> bgr { 0xFF0000, 0xFF00, 0xFF };
                    StretchDiBits(b, PackedDib(2, 1, 32, kBitFields, bgr, { 255, 0, 0, 0, 0, 0, 255, 0 }),
                        InfoBytes(bgr), { 0, 30, 20, 10 }, { 0, 0, 2, 1 });
                    // 32 bits with red in the low byte: red, green.
                    const std::vector<uint32_t> rgb { 0xFF, 0xFF00, 0xFF0000 };
                    StretchDiBits(b, PackedDib(2, 1, 32, kBitFields, rgb, { 255, 0, 0, 0, 0, 255, 0, 0 }),
                        InfoBytes(rgb), { 30, 30, 20, 10 }, { 0, 0, 2, 1 });
                    // RLE4: one run of indices 0 and 1 (red, blue), then the end of the bitmap.
                    const std::vector<uint32_t> two { 0xFF0000, 0x0000FF };
                    StretchDiBits(b, PackedDib(2, 1, 4, kRle4, two, { 2, 0x01, 0, 1 }, 2), InfoBytes(two),
                        { 60, 30, 20, 10 }, { 0, 0, 2, 1 });
                });
            },
            { { 5, 5, kRed }, { 15, 5, kGreen }, { 5, 15, kBlue }, { 15, 15, kWhite },
                { 35, 5, Opaque(248, 0, 0) }, { 45, 5, Opaque(0, 248, 0) }, { 65, 5, Opaque(248, 0, 0) },
                { 75, 5, Opaque(0, 0, 248) }, { 5, 35, kBlue }, { 15, 35, kRed }, { 35, 35, kRed },
                { 45, 35, kGreen }, { 65, 35, kRed }, { 75, 35, kBlue }, { 25, 5, kWhite } } },
        { "emf-rle8-delta-alphablend-and-pattern-in-other-layouts",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSelectObject, { kNullPen });
                    SolidBrush(b, 1, 0x00FF00);
                    b.Record(kRectangle, { 55, 25, 100, 55 });
                    // RLE8, 4 x 2, bottom row first: two red, a delta of one pixel, blue; then a
                    // literal of black, red, blue and the end of the bitmap. The pixels passed over
                    // leave the green below.
                    const std::vector<uint32_t> three { 0x000000, 0xFF0000, 0x0000FF };
                    StretchDiBits(b,
                        PackedDib(4, 2, 8, kRle8, three,
                            { 2, 1, 0, 2, 1, 0, 1, 2, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1 }, 3),
                        InfoBytes(three), { 60, 30, 40, 20 }, { 0, 0, 4, 2 });
                    // A 32-bit bit-field icon of blue at half alpha, premultiplied, over red.
                    SolidBrush(b, 2, 0x0000FF);
                    b.Record(kRectangle, { 0, 55, 30, 85 });
                    Bytes halfBlue;
                    for (int i = 0; i < 4; ++i)
                        halfBlue.insert(halfBlue.end(), { 128, 0, 0, 128 });
                    const Bytes icon = PackedDib(2, 2, 32, kBitFields, { 0xFF0000, 0xFF00, 0xFF }, halfBlue);
                    b.Record(kAlphaBlend,
                        { 0, 0, 0, 0, 5, 60, 20, 20, 0x01FF0000, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0,
                            0, 0, 108, 52, 160, 16, 2, 2 },
                        icon);
                    // A pattern brush of a 4-bit picture: red, green over blue, white.
                    const std::vector<uint32_t> four { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF };
                    const Bytes pattern = PackedDib(2, 2, 4, 0, four, { 0x23, 0, 0, 0, 0x01, 0, 0, 0 }, 4);
                    b.Record(kCreateDibPatternBrushPt, { 3, 0, 32, InfoBytes(four), 32 + InfoBytes(four), 8 },
                        pattern);
                    b.Record(kSelectObject, { 3 });
                    b.Record(kRectangle, { 60, 60, 100, 100 });
                });
            },
            { { 65, 35, kBlack }, { 75, 35, kRed }, { 85, 35, kBlue }, { 95, 35, kGreen }, { 65, 45, kRed },
                { 75, 45, kRed }, { 85, 45, kGreen }, { 95, 45, kBlue }, { 15, 70, Opaque(127, 0, 128), 2 },
                { 2, 70, kRed }, { 70, 70, kRed }, { 71, 70, kGreen }, { 70, 71, kBlue },
                { 71, 71, kWhite } } },
        { "emf-monochrome-brushes-in-text-and-background-colours",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSelectObject, { kNullPen });
                    // All 0 bits and no colour table: drawn in the text colour set after it was selected.
                    b.Record(kCreateMonoBrush, { 1, 2, 32, 40, 72, 32 },
                        PackedDib(8, 8, 1, 0, {}, MonoBits(0x00)));
                    b.Record(kSelectObject, { 1 });
                    b.Record(kSetTextColorEmf, { 0x0000FF });
                    b.Record(kRectangle, { 0, 0, 50, 50 });
                    // Columns of 1 and 0 bits with a green and yellow colour table, which is not used:
                    // 1 bits in the background colour, 0 bits in the text colour.
                    const std::vector<uint32_t> table { 0x00FF00, 0xFFFF00 };
                    b.Record(kCreateMonoBrush, { 2, 0, 32, 48, 80, 32 },
                        PackedDib(8, 8, 1, 0, table, MonoBits(0xAA)));
                    b.Record(kSelectObject, { 2 });
                    b.Record(kSetBkColorEmf, { 0xFF0000 });
                    b.Record(kRectangle, { 50, 0, 100, 50 });
                });
            },
            { { 25, 25, kRed }, { 2, 2, kRed }, { 56, 10, kBlue }, { 57, 10, kRed }, { 80, 30, kBlue },
                { 81, 30, kRed } } },
        { "wmf-monochrome-pattern-brush-in-text-and-background-colours",
            [] {
                return Placeable([](Writer& w) {
                    w.Pen(5, 0, 0, 0, 0);
                    w.Record(wmfwriter::kSelectObject, { 0 });
                    // A 2 x 2 one-bit bitmap: 1, 0 over 0, 1.
                    std::vector<int> words { 0, 2, 2, 2, 1 | (1 << 8) };
                    words.insert(words.end(), 2 + 9, 0); // the bits pointer and the reserved bytes
                    w.RecordOf(kCreatePatternBrush, words, { 0x80, 0, 0x40, 0 });
                    w.Record(wmfwriter::kSelectObject, { 1 });
                    w.Colour(wmfwriter::kSetTextColor, 0, 255, 0);
                    w.Colour(kSetBkColor, 255, 0, 0);
                    w.Record(wmfwriter::kRectangle, { 100, 100, 50, 50 });
                });
            },
            { { 60, 60, kRed }, { 61, 60, kGreen }, { 60, 61, kGreen }, { 61, 61, kRed } } },
        { "emf-partial-stretchdibits-and-blit-source-transform",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kSelectObject, { kNullPen });
                    SolidBrush(b, 1, 0x00FF00);
                    b.Record(kRectangle, { U(-1), U(-1), 101, 101 });
                    // Source columns 5 to 14 of the top five rows (y 5 from the bottom): the blue
                    // quarter at four pixels a column, and green where the source lies outside.
                    StretchDiBits(b, Quarters(), 40, { 0, 0, 40, 10 }, { 5, 5, 10, 5 });
                    // Rows -5 to 4 from the bottom of the left half: white in the upper half only.
                    StretchDiBits(b, Quarters(), 40, { 50, 0, 20, 40 }, { 0, -5, 5, 10 });
                    // From source (3, 3) moved by (-3, -3): the whole picture at one to one.
                    Blit(b, kBitBlt, Quarters(), { 0, 60, 10, 10 }, { 3, 3, 10, 10 }, { 1, 1, -3, -3 });
                    // A source of 10 x 10 at half scale: the red quarter over the whole destination.
                    Blit(b, kStretchBlt, Quarters(), { 60, 60, 40, 40 }, { 0, 0, 10, 10 },
                        { 0.5f, 0.5f, 0, 0 });
                });
            },
            { { 2, 2, kBlue }, { 18, 8, kBlue }, { 22, 2, kGreen }, { 38, 8, kGreen }, { 45, 5, kGreen },
                { 55, 5, kWhite }, { 65, 18, kWhite }, { 55, 22, kGreen }, { 65, 38, kGreen },
                { 0, 60, kRed }, { 4, 64, kRed }, { 7, 62, kBlue }, { 2, 67, kWhite }, { 7, 67, kBlack },
                { 10, 60, kGreen }, { 65, 65, kRed }, { 95, 95, kRed }, { 75, 65, kRed } } },
    };
    return fixtures;
}

TEST(MetafileBitmapRecords, EveryFixtureDrawsWhatItsRecordsSay)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        CheckFixture(f);
    }
}

} // namespace
