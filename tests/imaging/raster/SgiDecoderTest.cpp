// The SGI decoder against netpbm's sgitopnm on small files of one, three and four channels,
// built here, and on hostile files.
#include "imaging/raster/RasterFixtures.h"

#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLSGIDecoder.h"

#include <gtest/gtest.h>

using namespace rasterfixtures;

namespace {

struct SgiRecipe {
    int channels = 3;
    int width = 7;
    int height = 3;
    int storage = 0;
    int bytesPerChannel = 1;
    int dimension = 3;
    uint32_t colourMapId = 0;
};

Bytes MakeSgi(const SgiRecipe& r)
{
    Bytes out;
    Put16BE(out, 474);
    Put8(out, static_cast<unsigned>(r.storage));
    Put8(out, static_cast<unsigned>(r.bytesPerChannel));
    Put16BE(out, static_cast<unsigned>(r.dimension));
    Put16BE(out, static_cast<unsigned>(r.width));
    Put16BE(out, static_cast<unsigned>(r.height));
    Put16BE(out, static_cast<unsigned>(r.channels));
    Put32BE(out, 0);
    Put32BE(out, 255);
    out.resize(104, 0);
    Put32BE(out, r.colourMapId);
    out.resize(512, 0);
    // Each channel a whole picture, bottom row first.
    for (int c = 0; c < r.channels; ++c)
        for (int i = 0; i < r.height; ++i)
            for (int x = 0; x < r.width; ++x)
                Put8(out, static_cast<unsigned>(Pattern(x, r.height - 1 - i, c, 256)));
    return out;
}

class SgiReference : public testing::TestWithParam<int> { };

TEST_P(SgiReference, MatchesSgitopnm)
{
    const SgiRecipe r { .channels = GetParam(), .dimension = GetParam() == 1 ? 2 : 3 };
    const Bytes file = MakeSgi(r);
    PLSGIDecoder decoder;
    const Picture ours = DecodeOurs(decoder, file);
    const auto peer = ReferenceDecode("sgitopnm", file, "case.sgi");
    ASSERT_TRUE(peer) << "sgitopnm could not read the file";
    std::string first;
    EXPECT_EQ(CountDifferences(ours, *peer, ScaledTo8Bits, first), 0) << first;
    EXPECT_EQ(ours.bpp, r.channels == 1 ? 8 : 32);
    EXPECT_EQ(ours.isGreyscale, r.channels == 1);
    EXPECT_EQ(ours.hasAlpha, r.channels == 4);
    if (r.channels == 4) {
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                ASSERT_EQ(ours.At(x, y)[3], Pattern(x, y, 3, 256));
    }
}

INSTANTIATE_TEST_SUITE_P(Channels, SgiReference, testing::Values(1, 3, 4));

TEST(SgiDecoder, HostileHeadersAreRefusedWithTheirCodes)
{
    struct Refusal {
        const char* name;
        SgiRecipe recipe;
        size_t cut; // bytes cut from the end of the file
        int code;
    };
    const std::vector<Refusal> cases = {
        { "two channels", { .channels = 2 }, 0, PL_ERR_FORMAT_NOT_SUPPORTED },
        { "one dimension", { .dimension = 1 }, 0, PL_ERR_FORMAT_NOT_SUPPORTED },
        { "run-length coded", { .storage = 1 }, 0, PL_ERR_FORMAT_NOT_SUPPORTED },
        { "two bytes per channel", { .bytesPerChannel = 2 }, 0, PL_ERR_FORMAT_NOT_SUPPORTED },
        { "no bytes per channel", { .bytesPerChannel = 0 }, 0, PL_ERR_FORMAT_UNKNOWN },
        { "five channels", { .channels = 5 }, 0, PL_ERR_FORMAT_UNKNOWN },
        { "no channels", { .channels = 0 }, 0, PL_ERR_FORMAT_UNKNOWN },
        { "width 0", { .width = 0 }, 0, PL_ERR_FORMAT_UNKNOWN },
        { "beyond the picture cap", { .width = 65535, .height = 2 }, 0, PL_ERR_DIB_TOO_LARGE },
        { "pixels cut short", {}, 1, PL_ERR_END_OF_FILE },
        { "header cut short", {}, 63 + 1, PL_ERR_END_OF_FILE },
    };
    for (const Refusal& c : cases) {
        Bytes file = MakeSgi(c.recipe);
        file.resize(file.size() - c.cut);
        PLSGIDecoder decoder;
        EXPECT_EQ(DecodeError(decoder, file), c.code) << c.name;
    }
    Bytes file = MakeSgi({});
    file[1] = 0xDB; // magic 475
    PLSGIDecoder decoder;
    EXPECT_EQ(DecodeError(decoder, file), PL_ERR_WRONG_SIGNATURE);
}

// The first four refusals carry their text without the decoder's frame.
TEST(SgiDecoder, RefusalTextsOfTheHeader)
{
    Bytes file = MakeSgi({ .storage = 1 });
    PLSGIDecoder decoder;
    try {
        DecodeOurs(decoder, file);
        FAIL();
    } catch (const PLTextException& e) {
        EXPECT_STREQ(e.GetText(), "Compressed SGI RGB files are not supported.");
    }
}

} // namespace
