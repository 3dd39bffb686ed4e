// The wrapper's loading through a decoder it is given: the picture, the file type, the EXIF data
// that each form keeps, shrinking into a box, and failures.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/exif/ExifData.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/pict/PictWriter.h"
#include "imaging/wrapper/PictureDecoder.h"
#include "imaging/wrapper/WrapperTestSupport.h"

namespace {

using namespace jpegfixtures;
using encodertest::ScratchFolder;
using Pellimar::DeviceIndepBitmap;

using WrapperLoad = ScratchFolder;

JpegRecipe Oriented(int width, int height, uint16_t orientation)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.app1 = { MakeExifBlock(0x0112, orientation) };
    return recipe;
}

// The picture decoder reads a JPEG as libjpeg's own decoder does and reports the JPEG type.
TEST_F(WrapperLoad, ThroughThePictureDecoder)
{
    const JpegRecipe recipe = Oriented(29, 17, 6);
    const std::string path = WriteFile(Path("photo.jpg"), MakeJpeg(recipe));
    const ReferenceImage ref = ReferenceDecode(MakeJpeg(recipe), Layout::Bgra, false);
    DeviceIndepBitmap dib;
    ASSERT_TRUE(dib.CreateImage(3, 3, 32, false, false, 72));
    ASSERT_TRUE(dib.Rotate(1));
    const std::unique_ptr<PLPicDecoder> decoder = MakePictureDecoder();
    ASSERT_EQ(dib.LoadFile(path, *decoder, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetFileType(), PLFileType::Jpeg);
    EXPECT_FALSE(dib.IsModified());
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    ASSERT_EQ(dib.GetSize(), PLCoord(29, 17));
    for (int y = 0; y < 17; ++y)
        ASSERT_EQ(std::memcmp(dib.GetBitmap()->GetRow(y), ref.samples.data() + y * 29 * 4, 29 * 4), 0) << y;
}

// Another decoder's file type is kept: a PICT picture, which the wrapper cannot save.
TEST_F(WrapperLoad, ThroughThePictDecoder)
{
    pictwriter::Writer w(2, { 0, 0, 2, 3 });
    w.DirectBits({ 0, 0, 2, 3 }, 32, 3,
        { { 10, 20, 30, 40, 50, 60, 70, 80, 90 }, { 11, 21, 31, 41, 51, 61, 71, 81, 91 } });
    w.End();
    const std::string path = WriteFile(Path("picture.pict"), w.Data());
    DeviceIndepBitmap dib;
    PLPictDecoder decoder;
    ASSERT_EQ(dib.LoadFile(path, decoder, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetFileType(), PLFileType::Pict);
    EXPECT_FALSE(dib.CanSave());
    ASSERT_EQ(dib.GetSize(), PLCoord(3, 2));
    EXPECT_EQ(dib.GetBitmap()->GetRow32(1)[2], PLPixel32(31, 61, 91, 255));
}

// LoadFile drops the EXIF data; LoadJpeg refills an EXIF object it has from the file, and leaves a
// wrapper without one without.
TEST_F(WrapperLoad, ExifDataOfEachForm)
{
    const std::string first = WriteFile(Path("first.jpg"), MakeJpeg(Oriented(8, 8, 3)));
    const std::string second = WriteFile(Path("second.jpg"), MakeJpeg(Oriented(8, 8, 8)));
    PLJPEGDecoder decoder;

    DeviceIndepBitmap dib;
    ASSERT_EQ(dib.LoadJpegWithExif(first, decoder, -1, -1), ImageResult {});
    ASSERT_EQ(dib.LoadJpeg(second, decoder, -1, -1), ImageResult {});
    ASSERT_NE(dib.GetExifData(), nullptr);
    EXPECT_EQ(dib.GetExifData()->GetTagValue("main.ori"), 8.0);

    // A picture of another type has no EXIF data to look for: the object keeps its entries.
    PLAnyBmp picture;
    const Bytes jpeg = MakeJpeg(Oriented(8, 8, 3));
    PLJPEGDecoder().DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), &picture, 32);
    const std::string pictPath = WriteFile(Path("first.pict"), wrappertest::PictOf(picture));
    PLPictDecoder pict;
    ASSERT_EQ(dib.LoadJpeg(pictPath, pict, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetFileType(), PLFileType::Pict);
    EXPECT_EQ(dib.GetExifData()->GetTagValue("main.ori"), 8.0);

    ASSERT_EQ(dib.LoadFile(second, decoder, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetExifData(), nullptr);
    ASSERT_EQ(dib.LoadJpeg(first, decoder, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetExifData(), nullptr);
}

// A box shrinks a larger picture to fit, keeping its aspect; a box without a limit, or larger than
// the picture, keeps its size.
TEST_F(WrapperLoad, ShrinksIntoTheBox)
{
    const std::string path = WriteFile(Path("photo.jpg"), MakeJpeg(Oriented(60, 40, 1)));
    struct BoxCase {
        int32_t maxW, maxH;
        PLCoord size;
    };
    const BoxCase cases[] = {
        { 30, 30, PLCoord(30, 20) },
        { 90, 10, PLCoord(15, 10) },
        { 60, 40, PLCoord(60, 40) },
        { 100, 100, PLCoord(60, 40) },
        { -1, 10, PLCoord(60, 40) },
        { 0, 0, PLCoord(60, 40) },
    };
    for (const BoxCase& c : cases) {
        for (const bool jpegForm : { false, true }) {
            DeviceIndepBitmap dib;
            PLJPEGDecoder decoder;
            const ImageResult result = jpegForm ? dib.LoadJpeg(path, decoder, c.maxW, c.maxH)
                                                : dib.LoadFile(path, decoder, c.maxW, c.maxH);
            ASSERT_EQ(result, ImageResult {});
            EXPECT_EQ(dib.GetSize(), c.size) << c.maxW << " x " << c.maxH;
            EXPECT_FALSE(dib.IsModified());
        }
    }
}

// A failed load gives the error table's result and leaves the decoder closed, ready for the next
// file.
TEST_F(WrapperLoad, FailureClosesTheDecoder)
{
    const std::string good = WriteFile(Path("good.jpg"), MakeJpeg(Oriented(8, 8, 1)));
    const std::string text
        = WriteFile(Path("text.jpg"), { 'n', 'o', 't', ' ', 'a', ' ', 'J', 'P', 'E', 'G' });
    PLJPEGDecoder decoder;
    for (const bool jpegForm : { false, true }) {
        DeviceIndepBitmap dib;
        const auto load = [&](const std::string& path) {
            return jpegForm ? dib.LoadJpeg(path, decoder, -1, -1) : dib.LoadFile(path, decoder, -1, -1);
        };
        const ImageResult missing = load(Path("missing.jpg"));
        EXPECT_EQ(missing.severity, 7);
        EXPECT_EQ(missing.code, 4);
        EXPECT_EQ(missing.message.rfind("File not found: ", 0), 0u) << missing.message;
        const ImageResult bad = load(text);
        EXPECT_EQ(bad.severity, 5);
        EXPECT_EQ(dib.GetLastResult(), bad);
        EXPECT_EQ(decoder.GetDataSource(), nullptr);
        EXPECT_EQ(load(good), ImageResult {});
        EXPECT_EQ(dib.GetSize(), PLCoord(8, 8));
    }
}

} // namespace
