// Small metafiles whose drawing depends on what earlier records left: a path figure that goes on
// from a point its first lines did not leave, and pictures whose bits lie apart from a header block
// padded beyond its header and colours. Checked by the colours at points worked out from the
// records.
#include "metafile/FixtureTable.h"

namespace {

using namespace fixturetable;

constexpr uint32_t kSetTextColor = 24;
constexpr uint32_t kSetBkColor = 25;
constexpr uint32_t kMoveToEx = 27;
constexpr uint32_t kSelectObject = 37;
constexpr uint32_t kCreatePen = 38;
constexpr uint32_t kRectangle = 43;
constexpr uint32_t kBeginPath = 59;
constexpr uint32_t kEndPath = 60;
constexpr uint32_t kStrokePath = 64;
constexpr uint32_t kBitBlt = 76;
constexpr uint32_t kSetDiBitsToDevice = 80;
constexpr uint32_t kStretchDiBits = 81;
constexpr uint32_t kPolyBezierTo16 = 88;
constexpr uint32_t kPolylineTo16 = 89;
constexpr uint32_t kCreateMonoBrush = 93;
constexpr uint32_t kCreateDibPatternBrushPt = 94;
constexpr uint32_t kNullPen = 0x80000008;
constexpr uint32_t kSourceCopy = 0x00CC0020;

// Bytes of the header block as a real file had it: a 40-byte header and two colours, then padding.
constexpr uint32_t kInfoBytes = 308;

uint32_t Point16(int x, int y)
{
    return uint32_t(uint16_t(x)) | (uint32_t(uint16_t(y)) << 16);
}

// The padded header block of a 2 x 2 one-bit picture with the colours red (0) and blue (1), and
// after it its bits, bottom row first: red, blue / top row: blue, red.
Bytes PaddedInfoAndBits()
{
    Bytes block;
    for (const uint32_t v :
        { 40u, 2u, 2u, 1u | (1u << 16), 0u, 8u, 0u, 0u, 2u, 0u, 0x00FF0000u, 0x000000FFu })
        Writer::Put32(block, v);
    block.resize(kInfoBytes, 0);
    for (const uint32_t row : { 0x40u, 0x80u })
        Writer::Put32(block, row);
    return block;
}

// A record whose values are followed by the padded block and the bits, with the block's offset and
// sizes in the four values at `at` (offsets count from the record's start).
void WithPicture(EmfBuilder& b, uint32_t type, std::vector<uint32_t> values, size_t at)
{
    const uint32_t infoAt = uint32_t(8 + 4 * values.size());
    values[at] = infoAt;
    values[at + 1] = kInfoBytes;
    values[at + 2] = infoAt + kInfoBytes;
    values[at + 3] = 8;
    Bytes record;
    for (const uint32_t v : values)
        Writer::Put32(record, v);
    const Bytes picture = PaddedInfoAndBits();
    record.insert(record.end(), picture.begin(), picture.end());
    b.Record(type, {}, record);
}

// The picture's quarters at (x, y), each size pixels: blue, red / red, blue.
std::vector<Spot> Quarters(int x, int y, int size)
{
    const int far = size + size / 2;
    const int near = size / 2;
    return { { x + near, y + near, kBlue }, { x + far, y + near, kRed }, { x + near, y + far, kRed },
        { x + far, y + far, kBlue } };
}

std::vector<Spot> Concat(std::initializer_list<std::vector<Spot>> lists)
{
    std::vector<Spot> all;
    for (const auto& list : lists)
        all.insert(all.end(), list.begin(), list.end());
    return all;
}

const std::vector<Fixture>& Fixtures()
{
    static const std::vector<Fixture> fixtures {
        // A figure whose first line has no length goes on from its start point: the curve runs from
        // (30, 30) through (58.75, 51.25) at its middle to (80, 80), and never near the corner.
        { "emf-path-figure-after-a-line-of-no-length",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    b.Record(kCreatePen, { 1, 0, 5, 0, 0 });
                    b.Record(kSelectObject, { 1 });
                    b.Record(kBeginPath, {});
                    b.Record(kMoveToEx, { 30, 30 });
                    b.Record(kPolylineTo16, { 0, 0, 0, 0, 1, Point16(30, 30) });
                    b.Record(kPolyBezierTo16,
                        { 0, 0, 0, 0, 3, Point16(50, 40), Point16(70, 60), Point16(80, 80) });
                    b.Record(kEndPath, {});
                    b.Record(kStrokePath, { 0, 0, 100, 100 });
                });
            },
            { { 2, 2, kWhite }, { 14, 11, kWhite }, { 30, 30, kBlack }, { 59, 51, kBlack },
                { 80, 80, kBlack } } },
        // Every record that holds a picture apart from its header block, the blocks padded.
        { "emf-pictures-after-padded-header-blocks",
            [] {
                return Enhanced([](EmfBuilder& b) {
                    // Bit for bit at (10, 10); a blit's one-bit source shows its 0 bits in the text
                    // colour and its 1 bits in the background colour, here those of its table.
                    b.Record(kSetTextColor, { 0x0000FF });
                    b.Record(kSetBkColor, { 0xFF0000 });
                    WithPicture(b, kBitBlt,
                        { 0, 0, 0, 0, 10, 10, 2, 2, kSourceCopy, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 },
                        19);
                    // Stretched to 40 x 40 at (50, 0).
                    WithPicture(b, kStretchDiBits,
                        { 0, 0, 0, 0, 50, 0, 0, 0, 2, 2, 0, 0, 0, 0, 0, kSourceCopy, 40, 40 }, 10);
                    // Both scan lines at (10, 50).
                    WithPicture(
                        b, kSetDiBitsToDevice, { 0, 0, 0, 0, 10, 50, 0, 0, 2, 2, 0, 0, 0, 0, 0, 0, 2 }, 10);
                    b.Record(kSelectObject, { kNullPen });
                    // A pattern brush of the picture, tiled from the picture's origin.
                    WithPicture(b, kCreateDibPatternBrushPt, { 2, 0, 0, 0, 0, 0 }, 2);
                    b.Record(kSelectObject, { 2 });
                    b.Record(kRectangle, { 50, 50, 100, 100 });
                    // A monochrome brush: 0 bits in the text colour (green), 1 bits in the background
                    // colour (red).
                    WithPicture(b, kCreateMonoBrush, { 3, 0, 0, 0, 0, 0 }, 2);
                    b.Record(kSelectObject, { 3 });
                    b.Record(kSetTextColor, { 0x00FF00 });
                    b.Record(kSetBkColor, { 0x0000FF });
                    b.Record(kRectangle, { 0, 80, 40, 100 });
                });
            },
            Concat({ { { 10, 10, kBlue }, { 11, 10, kRed }, { 10, 11, kRed }, { 11, 11, kBlue } },
                Quarters(50, 0, 20),
                { { 10, 50, kBlue }, { 11, 50, kRed }, { 10, 51, kRed }, { 11, 51, kBlue } },
                { { 60, 60, kBlue }, { 61, 60, kRed }, { 60, 61, kRed }, { 61, 61, kBlue } },
                { { 20, 90, kRed }, { 21, 90, kGreen }, { 20, 91, kGreen }, { 21, 91, kRed } } }) },
    };
    return fixtures;
}

TEST(MetafileFigureAndBits, EveryFixtureDrawsWhatItsRecordsSay)
{
    for (const Fixture& f : Fixtures()) {
        SCOPED_TRACE(f.name);
        CheckFixture(f);
    }
}

} // namespace
