// The wrapper's saving: each file type read back by an independent decoder, the fitted saves, and
// failed saves that keep the old file and give the encoder lock back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/exif/ExifData.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/wrapper/EncoderLock.h"
#include "imaging/wrapper/PictureDecoder.h"
#include "imaging/wrapper/WrapperTestSupport.h"

namespace {

using namespace encodertest;
using jpegfixtures::JpegDensity;
using jpegfixtures::JpegRecipe;
using Pellimar::DeviceIndepBitmap;
using wrappertest::LoadAs;

// The largest difference of one channel, and whether the sizes match.
int LargestDifference(const Bytes& a, const Bytes& b)
{
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (size_t i = 0; i < a.size(); ++i)
        largest = std::max(largest, std::abs(a[i] - b[i]));
    return largest;
}

// Whether the encoder lock is free; it is free again afterwards either way.
bool EncoderLockIsFree()
{
    const bool free = EncoderLock::TryAcquire();
    EncoderLock::Release();
    return free;
}

// A photograph of smooth gradients (sharp edges would make the lossy comparisons loose).
JpegRecipe Photo(int width, int height)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            recipe.samples.insert(recipe.samples.end(),
                { static_cast<uint8_t>(40 + x * 150 / width), static_cast<uint8_t>(60 + y * 120 / height),
                    static_cast<uint8_t>(200 - (x + y) * 100 / (width + height)) });
    recipe.lumaH = 1;
    recipe.lumaV = 1;
    recipe.density = JpegDensity { 1, 300, 300 };
    recipe.app1 = { jpegfixtures::MakeExifBlock(0x0112, 6) };
    return recipe;
}

struct TypeCase {
    const char* name;
    const char* magick; // ImageMagick's name of the format
    int32_t fileType;
    int tolerance; // 0 for the lossless formats
};

void PrintTo(const TypeCase& c, std::ostream* os)
{
    *os << c.name;
}

class SaveByType : public ScratchFolder, public testing::WithParamInterface<TypeCase> { };

// The picture is written in its own file type and ImageMagick reads the same pixels back.
TEST_P(SaveByType, ReadBackByImageMagick)
{
    const TypeCase& c = GetParam();
    DeviceIndepBitmap dib;
    LoadAs(dib, Path("source.jpg"), Photo(37, 23), c.fileType);
    dib.Rotate(1); // an edit: the save clears the modified flag
    ASSERT_TRUE(dib.IsModified());
    EXPECT_TRUE(dib.CanSave());
    const std::string out = Path("saved");
    ASSERT_EQ(dib.Save(out, false), ImageResult {});
    EXPECT_FALSE(dib.IsModified());
    EXPECT_EQ(RunText("identify-im6.q16 -format '%m %w %h' '" + out + "'"), std::string(c.magick) + " 23 37");
    const int difference = LargestDifference(ImageMagickRgba(out), ExpectedRgba(*dib.GetBitmap()));
    if (c.tolerance == 0)
        EXPECT_EQ(difference, 0);
    else
        EXPECT_LE(difference, c.tolerance);
    EXPECT_EQ(Names(), (std::vector<std::string> { "saved", "source.jpg" })) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(Wrapper, SaveByType,
    testing::Values(TypeCase { "BMP", "BMP3", PLFileType::Bmp, 0 },
        TypeCase { "TIFF", "TIFF", PLFileType::Tiff, 0 }, TypeCase { "JPEG", "JPEG", PLFileType::Jpeg, 8 },
        TypeCase { "PNG", "PNG", PLFileType::Png, 0 }),
    [](const testing::TestParamInfo<TypeCase>& info) { return std::string(info.param.name); });

using WrapperSave = ScratchFolder;

// A JPEG is written at the wrapper's quality with the picture's resolution, and with its EXIF block
// only when asked.
TEST_F(WrapperSave, JpegQualityDensityAndExif)
{
    const std::string source
        = jpegfixtures::WriteFile(Path("source.jpg"), jpegfixtures::MakeJpeg(Photo(40, 30)));
    DeviceIndepBitmap dib;
    PLJPEGDecoder decoder;
    ASSERT_EQ(dib.LoadJpegWithExif(source, decoder, -1, -1), ImageResult {});
    dib.SetJpegQuality(77);
    for (const bool withExif : { false, true }) {
        const std::string out = Path(withExif ? "with.jpg" : "without.jpg");
        ASSERT_EQ(dib.Save(out, withExif), ImageResult {});
        EXPECT_EQ(
            RunText("identify-im6.q16 -format '%Q %x %y %U' '" + out + "'"), "77 300 300 PixelsPerInch");
        EXPECT_EQ(RunText("exiftool -s3 -n -Orientation '" + out + "'"), withExif ? "6\n" : "") << withExif;
    }
}

// Nothing is written without a picture or for a file type without an encoder.
TEST_F(WrapperSave, NothingToSaveOrNoEncoder)
{
    DeviceIndepBitmap empty;
    EXPECT_EQ(empty.Save(Path("a.bmp"), false), (ImageResult { "There is no image data to save", 5, 0 }));
    PLJPEGDecoder decoder;
    EXPECT_EQ(empty.SaveResizedJpeg(Path("b.jpg"), "", decoder, 10, 10, false),
        (ImageResult { "There is no image data to save", 5, 0 }));

    for (const int32_t type : { PLFileType::Pict, PLFileType::Tga, PLFileType::EpsTiff }) {
        DeviceIndepBitmap dib;
        LoadAs(dib, Path("source.jpg"), Photo(8, 8), type);
        EXPECT_FALSE(dib.CanSave()) << type;
        EXPECT_EQ(
            dib.Save(Path("c"), false), (ImageResult { "File save not supported for this file type", 6, 0 }))
            << type;
    }
    DeviceIndepBitmap blank;
    ASSERT_TRUE(blank.CreateImage(4, 4, 32, false, false, 72));
    EXPECT_EQ(blank.Save(Path("d"), false).severity, 6);
    EXPECT_EQ(Names(), std::vector<std::string> { "source.jpg" });
}

// A 6000 x 4000 picture saved into a 630 x 420 box: a 630 x 420 JPEG of the same picture, the
// picture itself untouched.
TEST_F(WrapperSave, FittedJpegOfALargePicture)
{
    DeviceIndepBitmap dib;
    ASSERT_TRUE(dib.CreateImage(6000, 4000, 32, false, false, 300));
    PLWinBmp& bmp = *dib.GetBitmap();
    for (int y = 0; y < 4000; ++y) {
        PLPixel32* row = bmp.GetRow32(y);
        for (int x = 0; x < 6000; ++x)
            row[x] = x < 3000 ? PLPixel32(220, 30, 20, 255) : PLPixel32(20, 40, 210, 255);
    }
    const bool modified = dib.IsModified();
    PLJPEGDecoder decoder;
    const std::string out = Path("fitted.jpg");
    ASSERT_EQ(dib.SaveResizedJpeg(out, "", decoder, 630, 420, false), ImageResult {});
    EXPECT_EQ(dib.GetSize(), PLCoord(6000, 4000));
    EXPECT_EQ(dib.IsModified(), modified);
    EXPECT_TRUE(EncoderLockIsFree());

    const jpegfixtures::ReferenceImage ref
        = jpegfixtures::ReferenceDecode(ReadFileBytes(out), jpegfixtures::Layout::Bgra, false);
    ASSERT_EQ(ref.error, "");
    ASSERT_EQ(ref.width, 630);
    ASSERT_EQ(ref.height, 420);
    const auto colourAt = [&](int x, int y) {
        const uint8_t* p = ref.samples.data() + (static_cast<size_t>(y) * 630 + x) * 4;
        return std::vector<int> { p[2], p[1], p[0] };
    };
    for (const auto& [x, expected] : { std::pair { 100, std::vector<int> { 220, 30, 20 } },
             std::pair { 530, std::vector<int> { 20, 40, 210 } } })
        for (size_t channel = 0; channel < 3; ++channel)
            EXPECT_NEAR(colourAt(x, 210)[channel], expected[channel], 6) << x;
}

// A fitted BMP save of a picture of each depth: without a limit the picture itself is written (at
// 32 bpp), within a smaller box the picture scaled as the resize filter scales it; the picture
// stays as it was either way.
TEST_F(WrapperSave, FittedBmpOfEachDepth)
{
    PLJPEGDecoder decoder;
    for (const int bpp : { 8, 24, 32 }) {
        DeviceIndepBitmap dib;
        ASSERT_TRUE(dib.CreateImage(20, 10, bpp, false, false, 72));
        PLWinBmp& bmp = *dib.GetBitmap();
        for (int y = 0; y < bmp.GetHeight(); ++y)
            for (int i = 0; i < bmp.GetWidth() * bpp / 8; ++i)
                bmp.GetRow(y)[i] = static_cast<uint8_t>(i * 13 + y * 29);
        const Bytes before = ExpectedRgba(bmp);
        PLAnyBmp scaled;
        scaled.CreateCopy(bmp, 32);
        scaled.ApplyFilter(PLFilterResizeBilinear(10, 5));
        for (const auto& [box, expected] :
            { std::pair { 0, before }, std::pair { 10, ExpectedRgba(scaled) } }) {
            const std::string out = Path("out.bmp");
            ASSERT_EQ(dib.SaveResizedBmp(out, "", decoder, box, box, false), ImageResult {}) << bpp;
            EXPECT_EQ(ImageMagickRgba(out), expected) << bpp << " bpp, box " << box;
            EXPECT_EQ(ExpectedRgba(bmp), before) << bpp << " bpp, box " << box;
        }
    }
}

struct ReloadCase {
    const char* name;
    int32_t box; // the box is box x (box * 3 / 4)
    bool namesSource;
    bool reload;
    bool fromFile; // the file's picture, or the edited copy
};

// A copy is decoded afresh from the source file when reload is set or when the box is larger than
// the picture held (which was loaded reduced); the edits in memory are then not saved, as designed.
TEST_F(WrapperSave, FittedSavesReloadFromTheSourceFile)
{
    const JpegRecipe recipe = Photo(64, 48);
    const ReloadCase cases[] = {
        { "larger box", 64, true, false, true },
        { "reload asked", 16, true, true, true },
        { "smaller box", 16, true, false, false },
        { "no source named", 64, false, true, false },
    };
    for (const ReloadCase& c : cases) {
        for (const bool bmp : { false, true }) {
            DeviceIndepBitmap dib;
            LoadAs(dib, Path("source.jpg"), recipe, PLFileType::Jpeg);
            PLJPEGDecoder decoder;
            ASSERT_EQ(dib.LoadFile(Path("source.jpg"), decoder, 32, 24), ImageResult {});
            ASSERT_TRUE(dib.Fill(win::RGB(255, 0, 0)));
            const std::string out = Path(bmp ? "out.bmp" : "out.jpg");
            const std::string source = c.namesSource ? Path("source.jpg") : "";
            const ImageResult result = bmp
                ? dib.SaveResizedBmp(out, source, decoder, c.box, c.box * 3 / 4, c.reload)
                : dib.SaveResizedJpeg(out, source, decoder, c.box, c.box * 3 / 4, c.reload);
            ASSERT_EQ(result, ImageResult {}) << c.name;
            EXPECT_EQ(dib.GetSize(), PLCoord(32, 24)) << c.name;

            const Bytes saved = ImageMagickRgba(out);
            const std::string geometry = std::to_string(c.box) + "x" + std::to_string(c.box * 3 / 4) + "!";
            const Bytes expected = c.fromFile
                ? RunTool(
                    "convert-im6.q16 '" + Path("source.jpg") + "' -resize " + geometry + " -depth 8 rgba:-")
                : RunTool("convert-im6.q16 -size " + geometry.substr(0, geometry.size() - 1)
                    + " xc:red -depth 8 rgba:-");
            EXPECT_LE(LargestDifference(saved, expected), bmp && !c.fromFile ? 0 : 40)
                << c.name << (bmp ? " BMP" : " JPEG");
        }
    }
}

PLFileCalls FullDisk()
{
    PLFileCalls calls = PLFileCalls::Posix();
    calls.write = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    return calls;
}

struct FailureCase {
    const char* name;
    std::string target;
    bool fullDisk;
    int32_t severity;
    int32_t code;
};

// Saves that fail: the result names the failure, the file that was there is kept byte for byte, no
// temporary file stays behind, the encoder lock is free, and the next save succeeds.
TEST_F(WrapperSave, FailedSavesKeepTheOldFileAndFreeTheLock)
{
    WriteFileBytes(Path("a-file"), { 'x' });
    const Bytes old = { 'o', 'l', 'd' };
    const FailureCase failures[] = {
        { "missing folder", Path("missing/out"), false, 7, 3 },
        { "below a regular file", Path("a-file/out"), false, 7, 3 },
        { "full disk", Path("old"), true, 5, 11 },
    };
    using Save = std::function<ImageResult(DeviceIndepBitmap&, const std::string&)>;
    PLJPEGDecoder decoder;
    const std::pair<const char*, Save> saves[] = {
        { "Save", [](DeviceIndepBitmap& dib, const std::string& path) { return dib.Save(path, true); } },
        { "SaveResizedJpeg",
            [&](DeviceIndepBitmap& dib, const std::string& path) {
                return dib.SaveResizedJpeg(path, "", decoder, 8, 8, false);
            } },
        { "SaveResizedBmp",
            [&](DeviceIndepBitmap& dib, const std::string& path) {
                return dib.SaveResizedBmp(path, "", decoder, 8, 8, false);
            } },
    };
    for (const auto& [saveName, save] : saves) {
        for (const FailureCase& c : failures) {
            const std::string what = std::string(saveName) + ", " + c.name;
            WriteFileBytes(Path("old"), old);
            DeviceIndepBitmap dib;
            LoadAs(dib, Path("source.jpg"), Photo(20, 12), PLFileType::Jpeg);
            dib.Rotate(2);
            if (c.fullDisk)
                dib.SetFileCalls(FullDisk());
            const ImageResult result = save(dib, c.target);
            EXPECT_EQ(result.severity, c.severity) << what;
            EXPECT_EQ(result.code, c.code) << what;
            EXPECT_EQ(dib.GetLastResult(), result) << what;
            EXPECT_TRUE(dib.IsModified()) << what;
            EXPECT_EQ(ReadFileBytes(Path("old")), old) << what;
            EXPECT_EQ(Names(), (std::vector<std::string> { "a-file", "old", "source.jpg" })) << what;
            ASSERT_TRUE(EncoderLockIsFree()) << what;
            dib.SetFileCalls(PLFileCalls::Posix());
            EXPECT_EQ(save(dib, Path("old")), ImageResult {}) << what;
            EXPECT_NE(ReadFileBytes(Path("old")), old) << what;
        }
    }
}

// Whether the encoder lock was held when the last file was opened for writing.
bool g_LockHeldAtOpen = false;

int OpenNotingTheLock(const char* path, int flags, mode_t mode)
{
    g_LockHeldAtOpen = !EncoderLockIsFree();
    return PLFileCalls::Posix().open(path, flags, mode);
}

// The fitted saves write their file under the encoder lock, and give it back afterwards.
TEST_F(WrapperSave, FittedSavesWriteUnderTheLock)
{
    PLFileCalls noting = PLFileCalls::Posix();
    noting.open = OpenNotingTheLock;
    DeviceIndepBitmap dib;
    LoadAs(dib, Path("source.jpg"), Photo(20, 12), PLFileType::Jpeg);
    dib.SetFileCalls(noting);
    PLJPEGDecoder decoder;
    for (const bool bmp : { false, true }) {
        g_LockHeldAtOpen = false;
        const ImageResult result = bmp ? dib.SaveResizedBmp(Path("out"), "", decoder, 10, 10, false)
                                       : dib.SaveResizedJpeg(Path("out"), "", decoder, 10, 10, false);
        ASSERT_EQ(result, ImageResult {});
        EXPECT_TRUE(g_LockHeldAtOpen) << bmp;
        EXPECT_TRUE(EncoderLockIsFree()) << bmp;
    }
}

TEST(EncoderLock, TakenOnceUntilReleased)
{
    EncoderLock::Acquire();
    EXPECT_FALSE(EncoderLock::TryAcquire());
    EncoderLock::Release();
    {
        const EncoderLock::Scoped lock;
        EXPECT_FALSE(EncoderLock::TryAcquire());
    }
    EXPECT_TRUE(EncoderLockIsFree());
}

// The picture's busy lock: taken by Lock, given back by Unlock, handed to a waiting thread.
TEST(PictureBusyLock, LockWaitsForUnlock)
{
    DeviceIndepBitmap dib;
    dib.Lock();
    EXPECT_TRUE(dib.IsBusy());
    bool taken = false;
    std::thread other([&] {
        dib.Lock();
        taken = true;
        dib.Unlock();
    });
    dib.Unlock();
    other.join();
    EXPECT_TRUE(taken);
    EXPECT_FALSE(dib.IsBusy());
}

} // namespace
