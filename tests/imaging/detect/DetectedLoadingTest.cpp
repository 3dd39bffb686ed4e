// The picture wrapper loads files through the decoder of any format: pictures saved by the
// encoders come back with their pixels and their file type (so they can be saved again), and files
// the library cannot read give the wrapper's results for the library's codes.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/PictureDecoder.h"
#include "imaging/wrapper/WrapperTestSupport.h"

namespace {

using encodertest::ScratchFolder;
using Pellimar::DeviceIndepBitmap;

struct RoundTrip {
    const char* name;
    int32_t fileType;
};

void PrintTo(const RoundTrip& c, std::ostream* os)
{
    *os << c.name;
}

class DetectedRoundTrip : public ScratchFolder, public testing::WithParamInterface<RoundTrip> { };

// Saved by its encoder under a name that says nothing of the format, the picture is found by its
// bytes and loaded with the same pixels and file type.
TEST_P(DetectedRoundTrip, SavedThenLoaded)
{
    const RoundTrip& c = GetParam();
    jpegfixtures::JpegRecipe recipe;
    recipe.width = 21;
    recipe.height = 13;
    DeviceIndepBitmap saved;
    wrappertest::LoadAs(saved, Path("source.jpg"), recipe, c.fileType);
    ASSERT_EQ(saved.Save(Path("picture.dat"), false), ImageResult {});

    DeviceIndepBitmap loaded;
    const std::unique_ptr<PLPicDecoder> decoder = MakePictureDecoder();
    ASSERT_EQ(loaded.LoadFile(Path("picture.dat"), *decoder, -1, -1), ImageResult {});
    EXPECT_EQ(loaded.GetFileType(), c.fileType);
    EXPECT_TRUE(loaded.CanSave());
    ASSERT_EQ(loaded.GetSize(), PLCoord(21, 13));
    EXPECT_EQ(encodertest::ExpectedRgba(*loaded.GetBitmap()), encodertest::ExpectedRgba(*saved.GetBitmap()));
}

INSTANTIATE_TEST_SUITE_P(Wrapper, DetectedRoundTrip,
    testing::Values(RoundTrip { "BMP", PLFileType::Bmp }, RoundTrip { "TIFF", PLFileType::Tiff },
        RoundTrip { "PNG", PLFileType::Png }),
    [](const testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

using DetectedLoading = ScratchFolder;

// Files the library does not read are refused with the wrapper's result for the library's code,
// and the picture keeps no file type.
TEST_F(DetectedLoading, RefusedFilesGiveTheLibrarysCode)
{
    struct Refusal {
        const char* name;
        encodertest::Bytes file;
        ImageResult result;
    };
    const Refusal cases[] = {
        { "notes.bmp", { 'J', 'u', 's', 't', ' ', 't', 'e', 'x', 't' },
            { "Unrecognized file type: Decoder error: Unknown file type.", 6, PL_ERR_UNKNOWN_FILE_TYPE } },
        { "drawing.wmf", { 0xD7, 0xCD, 0xC6, 0x9A, 0, 0 },
            { "Unexpected Error: Decoder error: Library not compiled for this file type.", 5,
                PL_ERR_FORMAT_NOT_COMPILED } },
    };
    for (const Refusal& c : cases) {
        encodertest::WriteFileBytes(Path(c.name), c.file);
        DeviceIndepBitmap dib;
        const std::unique_ptr<PLPicDecoder> decoder = MakePictureDecoder();
        EXPECT_EQ(dib.LoadFile(Path(c.name), *decoder, -1, -1), c.result) << c.name;
        EXPECT_EQ(dib.GetFileType(), 0) << c.name;
        EXPECT_EQ(decoder->GetDataSource(), nullptr) << c.name;
    }
}

} // namespace
