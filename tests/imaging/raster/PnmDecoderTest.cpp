// The PGM and PPM decoders against netpbm's pamtopnm (which hands back the samples it read, at
// their own maximum) on small text and binary files of 8 and 16 bits, built here, and on hostile
// files.
#include "imaging/raster/RasterFixtures.h"

#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLPGMDecoder.h"
#include "imaging/raster/PLPPMDecoder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>

using namespace rasterfixtures;

namespace {

struct PnmRecipe {
    char kind = '6';
    int width = 7;
    int height = 3;
    int maxValue = 255;
    std::string afterMagic = "\n"; // separators and comments between the header's parts
};

bool IsGrey(char kind)
{
    return kind == '2' || kind == '5';
}

Bytes MakePnm(const PnmRecipe& r)
{
    Bytes out;
    PutText(out,
        std::string("P") + r.kind + r.afterMagic + std::to_string(r.width) + r.afterMagic
            + std::to_string(r.height) + r.afterMagic + std::to_string(r.maxValue) + "\n");
    const int channels = IsGrey(r.kind) ? 1 : 3;
    const bool text = r.kind == '2' || r.kind == '3';
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            for (int c = 0; c < channels; ++c) {
                const int v = Pattern(x, y, c, r.maxValue + 1);
                if (text)
                    PutText(out, std::to_string(v) + (x % 4 == 3 ? "\n" : " "));
                else if (r.maxValue > 255)
                    Put16BE(out, static_cast<unsigned>(v));
                else
                    Put8(out, static_cast<unsigned>(v));
            }
    return out;
}

std::unique_ptr<PLPicDecoder> DecoderFor(char kind)
{
    if (IsGrey(kind))
        return std::make_unique<PLPGMDecoder>();
    return std::make_unique<PLPPMDecoder>();
}

// The decoder scales a sample v to v x 255 / maximum, truncating; netpbm's own depth change
// (pamdepth) rounds instead, so the peer's raw samples are scaled here the decoder's way.
int TruncatedTo8Bits(int sample, int maxValue, int)
{
    return sample * 255 / maxValue;
}

struct PnmCase {
    const char* name;
    PnmRecipe recipe;
};

void PrintTo(const PnmCase& c, std::ostream* os)
{
    *os << c.name;
}

class PnmReference : public testing::TestWithParam<PnmCase> { };

TEST_P(PnmReference, MatchesPamtopnm)
{
    const PnmRecipe& r = GetParam().recipe;
    const Bytes file = MakePnm(r);
    const auto decoder = DecoderFor(r.kind);
    const Picture ours = DecodeOurs(*decoder, file);
    const auto peer = ReferenceDecode("pamtopnm", file, "case.pnm");
    ASSERT_TRUE(peer) << "pamtopnm could not read the file";
    ASSERT_EQ(peer->maxValue, r.maxValue);
    std::string first;
    EXPECT_EQ(CountDifferences(ours, *peer, TruncatedTo8Bits, first), 0) << first;
    EXPECT_EQ(ours.bpp, IsGrey(r.kind) ? 8 : 32);
    EXPECT_EQ(ours.isGreyscale, IsGrey(r.kind));
}

INSTANTIATE_TEST_SUITE_P(Variants, PnmReference,
    testing::Values(PnmCase { "P5_255", { .kind = '5' } },
        PnmCase { "P5_15", { .kind = '5', .maxValue = 15 } },
        PnmCase { "P5_1000_two_bytes", { .kind = '5', .maxValue = 1000 } },
        PnmCase { "P5_65535_two_bytes", { .kind = '5', .maxValue = 65535 } }, PnmCase { "P6_255", {} },
        PnmCase { "P6_100", { .maxValue = 100 } }, PnmCase { "P6_256_two_bytes", { .maxValue = 256 } },
        PnmCase { "P6_65535_two_bytes", { .maxValue = 65535 } }, PnmCase { "P2_255", { .kind = '2' } },
        PnmCase {
            "P2_tabs_and_comments", { .kind = '2', .maxValue = 200, .afterMagic = "\t# a comment\r\n" } },
        PnmCase { "P3_7", { .kind = '3', .maxValue = 7 } },
        PnmCase { "P3_4000", { .kind = '3', .maxValue = 4000, .afterMagic = " #x\n" } },
        PnmCase { "P6_tabs_and_comments", { .afterMagic = "\t#\n" } }),
    [](const testing::TestParamInfo<PnmCase>& info) { return std::string(info.param.name); });

// The grey level of the single pixel of a 1 x 1 PGM.
int SingleGrey(const std::string& text)
{
    Bytes file;
    PutText(file, text);
    PLPGMDecoder decoder;
    return DecodeOurs(decoder, file).At(0, 0)[0];
}

TEST(PnmDecoder, SamplesScaleTruncatingAndAreClampedToTheMaximum)
{
    EXPECT_EQ(SingleGrey("P2 1 1 15 15"), 255);
    EXPECT_EQ(SingleGrey("P2 1 1 15 7"), 119);
    EXPECT_EQ(SingleGrey("P2 1 1 15 99"), 255); // above the maximum
    EXPECT_EQ(SingleGrey("P5 1 1 15\n\xC8"), 255);
    EXPECT_EQ(SingleGrey("P5 1 1 65535\n\x80\x01"), 127); // two bytes, most significant first
    EXPECT_EQ(SingleGrey("P5 1 1 300\n\x01\x2C"), 255);
    // Maximum values outside 1 to 65535 are read as 255.
    EXPECT_EQ(SingleGrey("P5 1 1 0\n\x40"), 64);
    EXPECT_EQ(SingleGrey("P5 1 1 70000\n\x40"), 64);
    // Binary pixels start right after the one character that ends the maximum, even a byte that
    // looks like whitespace.
    EXPECT_EQ(SingleGrey("P5 1 1 255\n\n"), 10);
    EXPECT_EQ(SingleGrey("P5 1 1 255\t "), 32);
}

TEST(PnmDecoder, HostileFilesAreRefusedWithTheirCodes)
{
    struct Refusal {
        const char* text;
        char kind; // the decoder
        int code;
    };
    const std::vector<Refusal> cases = {
        { "P6 1 1 255\n...", '5', PL_ERR_FORMAT_UNKNOWN },
        { "P4 1 1\n.", '5', PL_ERR_FORMAT_UNKNOWN },
        { "P5 1 1 255\n.", '6', PL_ERR_FORMAT_UNKNOWN },
        { "Q6", '6', PL_ERR_FORMAT_UNKNOWN },
        { "P6 0 1 255\n", '6', PL_ERR_FORMAT_UNKNOWN },
        { "P5 x 1 255\n", '5', PL_ERR_FORMAT_UNKNOWN },
        { "P6 99999999999999999999999999 99999999999999999999 255\n", '6', PL_ERR_DIB_TOO_LARGE },
        { "P5 40000 40000 255\n", '5', PL_ERR_DIB_TOO_LARGE },
        { "P5 2 2 255\n...", '5', PL_ERR_END_OF_FILE },
        { "P6 1 1 65535\n.....", '6', PL_ERR_END_OF_FILE },
        { "P3 1 1 255 1 2", '6', PL_ERR_END_OF_FILE },
        { "P2 2 1 255 1 # comment running to the end", '5', PL_ERR_END_OF_FILE },
        { "P6 1 1", '6', PL_ERR_END_OF_FILE },
    };
    for (const Refusal& c : cases) {
        Bytes file;
        PutText(file, c.text);
        const auto decoder = DecoderFor(c.kind);
        EXPECT_EQ(DecodeError(*decoder, file), c.code) << c.text;
    }
}

} // namespace
