// The PCX decoder against netpbm's pcxtoppm on small files of every plane and depth layout,
// built here, and on hostile files.
#include "imaging/raster/RasterFixtures.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLPCXDecoder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace rasterfixtures;

namespace {

struct PcxRecipe {
    int bits = 8;
    int planes = 1;
    int width = 9;
    int height = 3;
    int bytesPerLine = 0; // 0: the least even count that covers the width
    int xMin = 0;
    int yMin = 0;
    bool blackAndWhiteMap = true; // header map of a 1-bit, 1-plane file: black and white, or the pattern
};

int BytesPerLine(const PcxRecipe& r)
{
    if (r.bytesPerLine)
        return r.bytesPerLine;
    const int bytes = (r.width * r.bits + 7) / 8;
    return bytes + (bytes & 1);
}

// The uncompressed lines: each row holds its planes one after the other.
Bytes Lines(const PcxRecipe& r)
{
    const int bpl = BytesPerLine(r);
    Bytes out;
    for (int y = 0; y < r.height; ++y)
        for (int p = 0; p < r.planes; ++p) {
            Bytes line(static_cast<size_t>(bpl), 0);
            for (int x = 0; x < r.width; ++x) {
                if (r.bits == 8 && r.planes == 3) {
                    line[static_cast<size_t>(x)] = static_cast<uint8_t>(Pattern(x / 2, y, p, 256));
                    continue;
                }
                int value = Pattern(x / 2, y, 0, 1 << (r.bits * r.planes));
                if (r.planes > 1)
                    value = value >> p & 1; // plane p holds bit p
                const int bit = x * r.bits;
                line[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(value << (8 - r.bits - bit % 8));
            }
            out.insert(out.end(), line.begin(), line.end());
        }
    return out;
}

// Runs of equal bytes, and bytes of 192 or more, become count-value pairs; runs stay in one line.
Bytes Compress(const Bytes& lines, int lineBytes)
{
    Bytes out;
    for (size_t start = 0; start < lines.size(); start += static_cast<size_t>(lineBytes)) {
        const size_t end = start + static_cast<size_t>(lineBytes);
        for (size_t i = start; i < end;) {
            size_t n = 1;
            while (i + n < end && n < 63 && lines[i + n] == lines[i])
                ++n;
            if (n > 1 || lines[i] >= 192)
                Put8(out, static_cast<unsigned>(0xC0 | n));
            Put8(out, lines[i]);
            i += n;
        }
    }
    return out;
}

Bytes MakePcx(const PcxRecipe& r)
{
    Bytes out;
    Put8(out, 10);
    Put8(out, 5);
    Put8(out, 1);
    Put8(out, static_cast<unsigned>(r.bits));
    Put16LE(out, static_cast<unsigned>(r.xMin));
    Put16LE(out, static_cast<unsigned>(r.yMin));
    Put16LE(out, static_cast<unsigned>(r.xMin + r.width - 1));
    Put16LE(out, static_cast<unsigned>(r.yMin + r.height - 1));
    Put16LE(out, 300);
    Put16LE(out, 300);
    const bool mono = r.bits == 1 && r.planes == 1 && r.blackAndWhiteMap;
    for (int i = 0; i < 16; ++i)
        for (int c = 0; c < 3; ++c)
            Put8(out, static_cast<unsigned>(mono ? (i == 1 ? 255 : 0) : Pattern(i, c, c, 256)));
    Put8(out, 0);
    Put8(out, static_cast<unsigned>(r.planes));
    Put16LE(out, static_cast<unsigned>(BytesPerLine(r)));
    Put16LE(out, 1);
    out.resize(128, 0);
    const Bytes data = Compress(Lines(r), BytesPerLine(r) * r.planes);
    out.insert(out.end(), data.begin(), data.end());
    if (r.bits == 8 && r.planes == 1) {
        Put8(out, 12);
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c)
                Put8(out, static_cast<unsigned>(Pattern(i, c, c + 3, 256)));
    }
    return out;
}

struct PcxCase {
    const char* name;
    PcxRecipe recipe;
};

void PrintTo(const PcxCase& c, std::ostream* os)
{
    *os << c.name;
}

class PcxReference : public testing::TestWithParam<PcxCase> { };

TEST_P(PcxReference, MatchesPcxtoppm)
{
    const Bytes file = MakePcx(GetParam().recipe);
    PLPCXDecoder decoder;
    const Picture ours = DecodeOurs(decoder, file);
    const auto peer = ReferenceDecode("pcxtoppm", file, "case.pcx");
    ASSERT_TRUE(peer) << "pcxtoppm could not read the file";
    std::string first;
    EXPECT_EQ(CountDifferences(ours, *peer, ScaledTo8Bits, first), 0) << first;
    EXPECT_EQ(ours.bpp, 32);
    EXPECT_EQ(decoder.GetResolution(), PLCoord(300, 300));
}

INSTANTIATE_TEST_SUITE_P(Variants, PcxReference,
    testing::Values(PcxCase { "bits1_planes1", { .bits = 1, .width = 21 } },
        PcxCase { "bits1_planes2", { .bits = 1, .planes = 2, .width = 21 } },
        PcxCase { "bits1_planes3", { .bits = 1, .planes = 3, .width = 21 } },
        PcxCase { "bits1_planes4", { .bits = 1, .planes = 4, .width = 21 } },
        PcxCase { "bits2_planes1", { .bits = 2, .width = 11 } }, PcxCase { "bits4_planes1", { .bits = 4 } },
        PcxCase { "bits8_planes1", {} }, PcxCase { "bits8_planes3", { .planes = 3 } },
        PcxCase { "bits8_planes3_wide_lines_offset_origin",
            { .planes = 3, .bytesPerLine = 14, .xMin = 3, .yMin = 2 } }),
    [](const testing::TestParamInfo<PcxCase>& info) { return std::string(info.param.name); });

// One bit in one plane is black and white whatever the header's colour map holds; pcxtoppm takes
// the map's first two entries instead, so this case is checked against its expected pixels only.
TEST(PcxDecoder, OneBitOnePlaneIsBlackAndWhite)
{
    const PcxRecipe r { .bits = 1, .width = 16, .height = 2, .blackAndWhiteMap = false };
    PLPCXDecoder decoder;
    const Picture pic = DecodeOurs(decoder, MakePcx(r));
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const int v = Pattern(x / 2, y, 0, 2) ? 255 : 0;
            ASSERT_EQ(std::vector<int>(pic.At(x, y), pic.At(x, y) + 4), (std::vector<int> { v, v, v, 255 }));
        }
}

TEST(PcxDecoder, HostileHeadersAreRefusedWithTheirCodes)
{
    struct Refusal {
        const char* name;
        std::function<void(Bytes&)> spoil;
        int code;
    };
    const auto at16 = [](Bytes& b, size_t at, unsigned v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    const std::vector<Refusal> cases = {
        { "manufacturer 9", [](Bytes& b) { b[0] = 9; }, PL_ERR_WRONG_SIGNATURE },
        { "encoding 0", [](Bytes& b) { b[2] = 0; }, PL_ERR_WRONG_SIGNATURE },
        { "8 bits in 2 planes", [](Bytes& b) { b[65] = 2; }, PL_ERR_FORMAT_UNKNOWN },
        { "8 bits in 4 planes", [](Bytes& b) { b[65] = 4; }, PL_ERR_FORMAT_UNKNOWN },
        { "1 bit in 5 planes", [](Bytes& b) { b[3] = 1, b[65] = 5; }, PL_ERR_FORMAT_UNKNOWN },
        { "1 bit in 0 planes", [](Bytes& b) { b[3] = 1, b[65] = 0; }, PL_ERR_FORMAT_UNKNOWN },
        { "3 bits", [](Bytes& b) { b[3] = 3; }, PL_ERR_FORMAT_UNKNOWN },
        { "bytes per line short of the width", [&](Bytes& b) { at16(b, 66, 8); }, PL_ERR_FORMAT_UNKNOWN },
        { "xmax below xmin", [&](Bytes& b) { at16(b, 4, 20); }, PL_ERR_FORMAT_UNKNOWN },
        { "ymax below ymin", [&](Bytes& b) { at16(b, 6, 20); }, PL_ERR_FORMAT_UNKNOWN },
        { "beyond the picture cap",
            [&](Bytes& b) { b[3] = 1, at16(b, 8, 65535), at16(b, 10, 65535), at16(b, 66, 65535); },
            PL_ERR_DIB_TOO_LARGE },
        { "a run past the end of the picture",
            [](Bytes& b) { b.resize(128), b.push_back(0xFF), b.push_back(1); }, PL_ERR_INTERNAL },
        { "the 256-colour map cut short", [](Bytes& b) { b.pop_back(); }, PL_ERR_END_OF_FILE },
        { "header cut short", [](Bytes& b) { b.resize(100); }, PL_ERR_END_OF_FILE },
    };
    const Bytes good = MakePcx({ .width = 9, .height = 1 });
    for (const Refusal& c : cases) {
        Bytes file = good;
        c.spoil(file);
        PLPCXDecoder decoder;
        EXPECT_EQ(DecodeError(decoder, file), c.code) << c.name;
    }
}

// Three planes of 2 or 4 bits open, and their decoding is refused as a layout the decoder cannot
// turn into colours.
TEST(PcxDecoder, ThreePlanesOfTwoOrFourBitsOpenAndAreRefusedWhenDecoded)
{
    for (const int bits : { 2, 4 }) {
        Bytes file = MakePcx({ .width = 9, .height = 1 });
        file[3] = static_cast<uint8_t>(bits);
        file[65] = 3;
        PLMemSource source;
        source.OpenMemory(file.data(), static_cast<int>(file.size()));
        PLPCXDecoder decoder;
        ASSERT_NO_THROW(decoder.Open(&source)) << bits;
        EXPECT_EQ(decoder.GetSize(), PLCoord(9, 1));
        decoder.LendDataSource(&source);
        PLAnyBmp bmp;
        int code = 0;
        std::string text;
        try {
            decoder.GetImage(bmp, 0);
        } catch (const PLTextException& e) {
            code = e.GetCode();
            text = e.GetText();
        }
        decoder.Close();
        EXPECT_EQ(code, PL_ERR_INTERNAL) << bits;
        EXPECT_EQ(text, "Decoder error: Can't handle more than 1 bit per pixel.\n") << bits;
        source.Close();
    }
}

// Pixel data that ends early leaves the rest of the picture black, without an error.
TEST(PcxDecoder, DataEndingEarlyLeavesBlackRows)
{
    const PcxRecipe r { .planes = 3, .width = 4, .height = 3 };
    Bytes file = MakePcx(r);
    const Bytes full = file;
    file.resize(128 + Compress(Lines({ .planes = 3, .width = 4, .height = 1 }), 12).size());
    PLPCXDecoder decoder;
    const Picture cut = DecodeOurs(decoder, file);
    const Picture whole = DecodeOurs(decoder, full);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(std::vector<int>(cut.At(x, 0), cut.At(x, 0) + 4),
            std::vector<int>(whole.At(x, 0), whole.At(x, 0) + 4));
        EXPECT_EQ(std::vector<int>(cut.At(x, 2), cut.At(x, 2) + 4), (std::vector<int> { 0, 0, 0, 255 }));
    }
}

} // namespace
