// The image wrapper: loading with its error results, fitting, cropping, turning and copying.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>

#include <unistd.h>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/exif/ExifData.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/DeviceIndepBitmapBrush.h"

namespace {

using namespace jpegfixtures;
using Pellimar::DeviceIndepBitmap;
namespace fs = std::filesystem;

class WrapperTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_Folder = fs::path(testing::TempDir()) / ("orvanel-wrapper-" + std::to_string(::getpid()));
        fs::create_directories(m_Folder);
    }
    void TearDown() override { fs::remove_all(m_Folder); }

    std::string Path(const std::string& name) const { return (m_Folder / name).string(); }

    std::string WriteJpeg(const std::string& name, const JpegRecipe& recipe) const
    {
        return WriteFile(Path(name), MakeJpeg(recipe));
    }

    fs::path m_Folder;
};

// Gives the wrapper a picture as a load does, then makes it w x h at 32 bpp with pixel (x, y)
// holding red x, green y and blue 7.
void LoadNumbered(DeviceIndepBitmap& dib, int w, int h)
{
    const fs::path tiny
        = fs::path(testing::TempDir()) / ("orvanel-tiny-" + std::to_string(::getpid()) + ".jpg");
    WriteFile(tiny.string(), MakeJpeg(JpegRecipe {}));
    PLJPEGDecoder decoder;
    const ImageResult loaded = dib.LoadJpegWithExif(tiny.string(), decoder, -1, -1);
    fs::remove(tiny);
    ASSERT_EQ(loaded, ImageResult {});
    PLWinBmp* bmp = dib.GetBitmap();
    bmp->Create(w, h, 32, false, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp->GetRow32(y)[x] = PLPixel32(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, 255);
}

// The source position (x, y) that the pixel holds, from its red and green.
std::pair<int, int> Origin(const DeviceIndepBitmap& dib, int x, int y)
{
    const PLPixel32 px = dib.GetBitmap()->GetRow32(y)[x];
    return { px.GetR(), px.GetG() };
}

struct ErrorCase {
    const char* name;
    std::string path;
    std::string message;
    int32_t severity;
    int32_t code;
};

TEST_F(WrapperTest, LoadErrorResults)
{
    const std::string missingFolder = Path("no-such-folder/picture.jpg");
    const std::string missingFile = Path("missing.jpg");
    const std::string empty = WriteFile(Path("empty.jpg"), {});
    const std::string png = WriteFile(Path("png.jpg"),
        { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1, 0, 0, 0,
            1, 8, 2, 0, 0, 0 });
    JpegRecipe badExif;
    badExif.app1 = { MakeExifBlockWithType(0x0112, 13, 6) }; // TIFF type 13 does not exist
    const std::string exif = WriteJpeg("bad-exif.jpg", badExif);
    JpegRecipe tooWide;
    tooWide.width = 32769; // one pixel beyond the library's largest side
    tooWide.height = 1;
    const std::string wide = WriteJpeg("too-wide.jpg", tooWide);

    const ErrorCase cases[] = {
        { "missing folder", missingFolder,
            "Path not Found: Decoder error: Opening " + missingFolder + " failed", 7, 3 },
        { "missing file", missingFile, "File not found: Decoder error: Opening " + missingFile + " failed", 7,
            4 },
        { "empty file", empty, "Access denied: Decoder error: Opening " + empty + " failed", 5, 5 },
        { "PNG named .jpg", png, "Unexpected Error: Decoder error: Not a JPEG file: starts with 0x89 0x50", 5,
            6 },
        { "bad EXIF block", exif, "Bad EXIF data: EXIF Tag format field not understood", 8, 14 },
        { "too wide", wide, "Maximum size for 1 bmp was exceeded: Bitmap larger than the library accepts.", 5,
            9 },
    };
    for (const ErrorCase& c : cases) {
        DeviceIndepBitmap dib;
        PLJPEGDecoder decoder;
        const ImageResult result = dib.LoadJpegWithExif(c.path, decoder, -1, -1);
        EXPECT_EQ(result.message, c.message) << c.name;
        EXPECT_EQ(result.severity, c.severity) << c.name;
        EXPECT_EQ(result.code, c.code) << c.name;
        EXPECT_EQ(dib.GetLastResult(), result) << c.name;
        EXPECT_EQ(dib.GetFileType(), DeviceIndepBitmap::kJpegFile) << c.name;
        // The decoder is usable again: its source was released.
        JpegRecipe recipe;
        const ImageResult again = dib.LoadJpegWithExif(WriteJpeg("good.jpg", recipe), decoder, -1, -1);
        EXPECT_EQ(again, ImageResult {}) << c.name;
        EXPECT_EQ(dib.GetLastResult(), result) << c.name << ": a good load leaves the last error";
    }
}

// Every library code has its text and severity; codes outside the table read "Unexpected Error".
// The library's text follows ": ", with every line end removed.
TEST(Wrapper, ResultForEveryCode)
{
    struct TableRow {
        int code;
        const char* text;
        int32_t severity;
    };
    const TableRow rows[] = {
        { 1, "Expected file signature not found", 5 },
        { 2, "Unexpected data encountered", 5 },
        { 3, "Path not Found", 7 },
        { 4, "File not found", 7 },
        { 5, "Access denied", 5 },
        { 6, "Unexpected Error", 5 },
        { 7, "Unexpected Error", 5 },
        { 8, "Unrecognized file type", 6 },
        { 9, "Maximum size for 1 bmp was exceeded", 5 },
        { 10, "Out of memory!!", 5 },
        { 11, "End of file reached before end of image", 5 },
        { 12, "Unexpected Error", 5 },
        { 13, "Unexpected Error", 5 },
        { 14, "Bad EXIF data", 8 },
        { 15, "Unexpected Error", 5 },
        { 0, "Unexpected Error", 5 },
        { -1, "Unexpected Error", 5 },
    };
    for (const TableRow& row : rows) {
        DeviceIndepBitmap dib;
        const ImageResult result
            = dib.ResultFromException(PLTextException(row.code, "Decoder error: first\nsecond\n\n"));
        EXPECT_EQ(result,
            (ImageResult { std::string(row.text) + ": Decoder error: firstsecond", row.severity, row.code }))
            << row.code;
        EXPECT_EQ(dib.GetLastResult(), result) << row.code;
    }
}

TEST_F(WrapperTest, LoadGivesPixelsExifAndState)
{
    JpegRecipe recipe;
    recipe.width = 41;
    recipe.height = 27;
    recipe.app1 = { MakeExifBlock(0x0112, 6) };
    const std::string path = WriteJpeg("photo.jpg", recipe);
    const ReferenceImage ref = ReferenceDecode(MakeJpeg(recipe), Layout::Bgra, false);

    DeviceIndepBitmap dib;
    PLJPEGDecoder decoder;
    ASSERT_EQ(dib.LoadJpegWithExif(path, decoder, -1, -1), ImageResult {});
    ASSERT_TRUE(dib.Rotate(1));
    ASSERT_EQ(dib.LoadJpegWithExif(path, decoder, -1, -1), ImageResult {});
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    EXPECT_FALSE(dib.IsModified());
    EXPECT_EQ(dib.GetFileType(), DeviceIndepBitmap::kJpegFile);
    ASSERT_EQ(dib.GetSize(), PLCoord(41, 27));
    EXPECT_TRUE(dib.IsLandscape());
    for (int y = 0; y < 27; ++y)
        ASSERT_EQ(std::memcmp(dib.GetBitmap()->GetRow(y), ref.samples.data() + y * 41 * 4, 41 * 4), 0) << y;
    ASSERT_NE(dib.GetExifData(), nullptr);
    EXPECT_EQ(dib.GetExifData()->GetTagValue("main.ori"), 6.0);

    // Orientation values, in range or not, are read as they are; the load itself turns nothing.
    for (const uint16_t orientation : { 0, 1, 3, 6, 8, 9, 0xFFFF }) {
        JpegRecipe oriented = recipe;
        oriented.app1 = { MakeExifBlock(0x0112, orientation) };
        ASSERT_EQ(dib.LoadJpegWithExif(WriteJpeg("oriented.jpg", oriented), decoder, -1, -1), ImageResult {})
            << orientation;
        EXPECT_EQ(dib.GetExifData()->GetTagValue("main.ori"), orientation);
        EXPECT_EQ(dib.GetSize(), PLCoord(41, 27)) << orientation;
        EXPECT_EQ(dib.GetQuarterTurns(), 0) << orientation;
    }

    // A later file without EXIF data leaves nothing of the earlier file's entries.
    JpegRecipe plain;
    ASSERT_EQ(dib.LoadJpegWithExif(WriteJpeg("plain.jpg", plain), decoder, -1, -1), ImageResult {});
    ASSERT_NE(dib.GetExifData(), nullptr);
    EXPECT_EQ(dib.GetExifData()->FindTag("main.ori"), nullptr);
    EXPECT_TRUE(dib.GetExifData()->GetAllEntries().empty());
}

TEST_F(WrapperTest, LoadFitsWithinMaximum)
{
    JpegRecipe recipe;
    recipe.width = 300;
    recipe.height = 200;
    const std::string path = WriteJpeg("big.jpg", recipe);
    struct FitCase {
        int32_t maxW, maxH;
        PLCoord expected;
    };
    const FitCase cases[] = {
        { -1, -1, { 300, 200 } }, // no limit
        { 0, 100, { 300, 200 } },
        { 150, 150, { 150, 100 } },
        { 1000, 50, { 75, 50 } },
        { 300, 200, { 300, 200 } }, // not larger: untouched
        { 3, 1000, { 3, 2 } },
    };
    DeviceIndepBitmap full;
    PLJPEGDecoder fullDecoder;
    ASSERT_EQ(full.LoadJpegWithExif(path, fullDecoder, -1, -1), ImageResult {});
    for (const FitCase& c : cases) {
        DeviceIndepBitmap dib;
        PLJPEGDecoder decoder;
        ASSERT_EQ(dib.LoadJpegWithExif(path, decoder, c.maxW, c.maxH), ImageResult {});
        ASSERT_EQ(dib.GetSize(), c.expected) << c.maxW << "x" << c.maxH;
        EXPECT_FALSE(dib.IsModified());
        // The pixels are the full picture's, shrunk with the bilinear filter.
        PLWinBmp shrunk;
        shrunk.CreateCopy(*full.GetBitmap(), 0);
        if (c.expected != full.GetSize())
            shrunk.ApplyFilter(PLFilterResizeBilinear(c.expected.x, c.expected.y));
        EXPECT_TRUE(*dib.GetBitmap() == shrunk) << c.maxW << "x" << c.maxH;
    }
}

TEST(Wrapper, CropTable)
{
    struct CropCase {
        int32_t x1, y1, x2, y2;
        bool applied; // the picture was cropped, and so counts as changed
        PLCoord size; // after the crop
        std::pair<int, int> topLeft; // where the new top-left pixel came from
    };
    const CropCase cases[] = {
        { 1, 2, 4, 5, true, { 3, 3 }, { 1, 2 } },
        { 0, 0, 6, 5, true, { 6, 5 }, { 0, 0 } }, // whole picture
        { 5, 4, 6, 5, true, { 1, 1 }, { 5, 4 } },
        { 2, 1, 2, 5, true, { 0, 4 }, { -1, -1 } }, // an empty rectangle leaves an empty picture
        { 0, 3, 6, 3, true, { 6, 0 }, { -1, -1 } },
        { 0, 0, 7, 5, false, { 6, 5 }, { 0, 0 } }, // right beyond the width: unchanged
        { 3, 0, 2, 5, false, { 6, 5 }, { 0, 0 } }, // left beyond right
        { -1, 0, 2, 5, false, { 6, 5 }, { 0, 0 } },
        { 0, 0, 2, 6, false, { 6, 5 }, { 0, 0 } }, // bottom beyond the height
        { 0, -1, 2, 5, false, { 6, 5 }, { 0, 0 } },
        { 0, 4, 2, 3, false, { 6, 5 }, { 0, 0 } }, // top below bottom
        { std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 5, false, { 6, 5 },
            { 0, 0 } },
    };
    for (const CropCase& c : cases) {
        DeviceIndepBitmap dib;
        LoadNumbered(dib, 6, 5);
        const std::string rect = std::to_string(c.x1) + "," + std::to_string(c.y1) + ","
            + std::to_string(c.x2) + "," + std::to_string(c.y2);
        EXPECT_TRUE(dib.Crop(c.x1, c.y1, c.x2, c.y2)) << rect;
        EXPECT_EQ(dib.IsModified(), c.applied) << rect;
        EXPECT_EQ(dib.GetSize(), c.size) << rect;
        if (c.size.x > 0 && c.size.y > 0) {
            EXPECT_EQ(Origin(dib, 0, 0), c.topLeft) << rect;
        }
    }
}

TEST(Wrapper, LandscapeOnlyWhenWiderThanHigh)
{
    struct ShapeCase {
        int w, h;
        bool landscape;
    };
    for (const ShapeCase& c :
        { ShapeCase { 3, 2, true }, ShapeCase { 2, 3, false }, ShapeCase { 3, 3, false } }) {
        DeviceIndepBitmap dib;
        LoadNumbered(dib, c.w, c.h);
        EXPECT_EQ(dib.IsLandscape(), c.landscape) << c.w << "x" << c.h;
    }
}

TEST(Wrapper, CropToAspectAppliesTheRectangle)
{
    DeviceIndepBitmap dib;
    LoadNumbered(dib, 30, 20);
    const win::RECT planned = dib.CropToAspect(780, 630, 0, 0, 0, true, false);
    EXPECT_EQ(planned, (win::RECT { 2, 0, 27, 20 }));
    EXPECT_EQ(dib.GetSize(), PLCoord(30, 20)) << "no-apply crops nothing";
    EXPECT_FALSE(dib.IsModified());

    EXPECT_EQ(dib.CropToAspect(780, 630, 0, 0, 0, false, false), planned);
    EXPECT_EQ(dib.GetSize(), PLCoord(25, 20));
    EXPECT_EQ(Origin(dib, 0, 0), std::make_pair(2, 0));
    EXPECT_TRUE(dib.IsModified());

    DeviceIndepBitmap other;
    LoadNumbered(other, 30, 20);
    EXPECT_EQ(other.CropToAspect(0, 630, 0, 0, 0, false, false), (win::RECT { 0, 0, 30, 20 }));
    EXPECT_EQ(other.GetSize(), PLCoord(30, 20));
    EXPECT_FALSE(other.IsModified());

    // Margins far outside 0 to 100 give rectangles the crop refuses: the picture stays.
    for (int32_t margin : { 200, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max() }) {
        other.CropToAspect(780, 630, margin, 0, 0, false, false);
        EXPECT_EQ(other.GetSize(), PLCoord(30, 20)) << margin;
        EXPECT_FALSE(other.IsModified()) << margin;
    }

    DeviceIndepBitmap empty;
    EXPECT_EQ(empty.CropToAspect(780, 630, 10, 0, 0, false, false), (win::RECT { 0, 0, 0, 0 }));
}

TEST(Wrapper, TurnTable)
{
    struct TurnCase {
        int32_t t;
        PLCoord size;
        std::pair<int, int> topLeft, topRight;
    };
    // The 3 x 2 picture: (0,0) (1,0) (2,0) over (0,1) (1,1) (2,1).
    const TurnCase cases[] = {
        { 0, { 3, 2 }, { 0, 0 }, { 2, 0 } },
        { 1, { 2, 3 }, { 0, 1 }, { 0, 0 } }, // clockwise: the bottom-left comes to the top-left
        { 2, { 3, 2 }, { 2, 1 }, { 0, 1 } },
        { 3, { 2, 3 }, { 2, 0 }, { 2, 1 } }, // anticlockwise: the top-right comes to the top-left
        { 5, { 2, 3 }, { 0, 1 }, { 0, 0 } }, // turns are counted modulo 4
        { -1, { 2, 3 }, { 2, 0 }, { 2, 1 } },
    };
    for (const TurnCase& c : cases) {
        DeviceIndepBitmap dib;
        LoadNumbered(dib, 3, 2);
        ASSERT_TRUE(dib.Rotate(c.t));
        EXPECT_EQ(dib.GetSize(), c.size) << c.t;
        EXPECT_EQ(Origin(dib, 0, 0), c.topLeft) << c.t;
        EXPECT_EQ(Origin(dib, c.size.x - 1, 0), c.topRight) << c.t;
        EXPECT_EQ(dib.GetQuarterTurns(), ((c.t % 4) + 4) % 4) << c.t;
        EXPECT_TRUE(dib.IsModified());
    }
}

TEST(Wrapper, TurnsAccumulateAndTurnBack)
{
    DeviceIndepBitmap dib;
    LoadNumbered(dib, 5, 3);
    PLWinBmp original;
    original.CreateCopy(*dib.GetBitmap(), 0);
    ASSERT_TRUE(dib.Rotate(2));
    ASSERT_TRUE(dib.Rotate(3));
    EXPECT_EQ(dib.GetQuarterTurns(), 1);
    ASSERT_TRUE(dib.RotateToOrientation(0));
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    EXPECT_TRUE(*dib.GetBitmap() == original);
    ASSERT_TRUE(dib.RotateToOrientation(2));
    ASSERT_TRUE(dib.RotateToOrientation(2)); // already there: nothing turns
    EXPECT_EQ(dib.GetQuarterTurns(), 2);
    EXPECT_EQ(Origin(dib, 0, 0), std::make_pair(4, 2));
}

// From every state, turning to a state gives the picture that many clockwise turns from the loaded
// one; states outside 0 to 3 count modulo 4, the extremes of the range included.
TEST(Wrapper, TurnToEveryState)
{
    struct StateCase {
        int32_t target;
        int32_t state; // the quarter turns it stands for
    };
    const StateCase cases[] = {
        { 0, 0 },
        { 1, 1 },
        { 2, 2 },
        { 3, 3 },
        { 4, 0 },
        { 7, 3 },
        { -1, 3 },
        { -6, 2 },
        { std::numeric_limits<int32_t>::min(), 0 },
        { std::numeric_limits<int32_t>::max(), 3 },
    };
    for (int32_t start = 0; start < 4; ++start) {
        for (const StateCase& c : cases) {
            DeviceIndepBitmap dib;
            LoadNumbered(dib, 3, 2);
            ASSERT_TRUE(dib.Rotate(start));
            ASSERT_TRUE(dib.RotateToOrientation(c.target));
            DeviceIndepBitmap reference;
            LoadNumbered(reference, 3, 2);
            ASSERT_TRUE(reference.Rotate(c.state));
            EXPECT_TRUE(*dib.GetBitmap() == *reference.GetBitmap()) << start << " to " << c.target;
            EXPECT_EQ(dib.GetQuarterTurns(), c.state) << start << " to " << c.target;
        }
    }

    // Already there: the pixels stay, but the picture counts as changed.
    DeviceIndepBitmap dib;
    LoadNumbered(dib, 3, 2);
    PLWinBmp original;
    original.CreateCopy(*dib.GetBitmap(), 0);
    ASSERT_FALSE(dib.IsModified());
    ASSERT_TRUE(dib.RotateToOrientation(0));
    EXPECT_TRUE(*dib.GetBitmap() == original);
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    EXPECT_TRUE(dib.IsModified());
}

TEST(Wrapper, WithoutPictureNothingHappens)
{
    DeviceIndepBitmap dib;
    EXPECT_EQ(dib.GetSize(), PLCoord(0, 0));
    EXPECT_FALSE(dib.IsLandscape());
    EXPECT_TRUE(dib.Crop(0, 0, 1, 1));
    EXPECT_TRUE(dib.Rotate(1));
    EXPECT_TRUE(dib.RotateToOrientation(3));
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    EXPECT_FALSE(dib.IsModified());
    EXPECT_EQ(dib.GetLoadState(), DeviceIndepBitmap::kNotLoaded);
}

// A picture cropped to nothing can still be turned and cropped to an aspect, which crops nothing.
TEST(Wrapper, EmptyPictureIsHandled)
{
    DeviceIndepBitmap dib;
    LoadNumbered(dib, 6, 5);
    ASSERT_TRUE(dib.Crop(2, 1, 2, 5));
    ASSERT_TRUE(dib.Rotate(1));
    EXPECT_EQ(dib.GetSize(), PLCoord(4, 0));
    EXPECT_EQ(dib.CropToAspect(780, 630, 10, 5, 5, false, false), (win::RECT { 0, 0, 4, 0 }));
    EXPECT_EQ(dib.GetSize(), PLCoord(4, 0));
    EXPECT_EQ(dib.GetLastResult(), ImageResult {});
}

TEST_F(WrapperTest, CopySemantics)
{
    JpegRecipe recipe;
    recipe.width = 20;
    recipe.height = 30;
    recipe.app1 = { MakeExifBlock(0x0112, 6) };
    DeviceIndepBitmap loaded;
    PLJPEGDecoder decoder;
    ASSERT_EQ(loaded.LoadJpegWithExif(WriteJpeg("copy.jpg", recipe), decoder, -1, -1), ImageResult {});
    loaded.ResultFromException(PLTextException(PL_ERR_END_OF_FILE, "End of file reached while decoding.\n"));
    loaded.SetJpegQuality(95);
    loaded.SetLoadState(0);
    loaded.SetBusy(true);
    ASSERT_TRUE(loaded.Rotate(1));

    const auto expectSameAsLoaded = [&](const DeviceIndepBitmap& copy, const char* how) {
        EXPECT_TRUE(*copy.GetBitmap() == *loaded.GetBitmap()) << how;
        EXPECT_EQ(copy.GetBitmap(), loaded.GetBitmap()) << how << ": shared until either changes";
        ASSERT_NE(copy.GetExifData(), nullptr) << how;
        EXPECT_EQ(copy.GetExifData()->GetTagValue("main.ori"), 6.0) << how;
        EXPECT_EQ(copy.GetLastResult(), loaded.GetLastResult()) << how;
        EXPECT_EQ(copy.GetJpegQuality(), 95) << how;
        EXPECT_EQ(copy.GetLoadState(), 0) << how;
        EXPECT_TRUE(copy.IsBusy()) << how;
        EXPECT_EQ(copy.GetQuarterTurns(), 1) << how;
        EXPECT_EQ(copy.GetFileType(), DeviceIndepBitmap::kJpegFile) << how;
        EXPECT_TRUE(copy.IsModified()) << how;
    };
    DeviceIndepBitmap copy(loaded);
    expectSameAsLoaded(copy, "copy-constructed");
    // Assigning over a wrapper with a picture of its own replaces its pixels and EXIF data.
    DeviceIndepBitmap assigned;
    LoadNumbered(assigned, 4, 3);
    assigned = loaded;
    expectSameAsLoaded(assigned, "assigned");

    // A change of either picture leaves the other's pixels as they were.
    ASSERT_TRUE(loaded.Crop(0, 0, 5, 5));
    EXPECT_EQ(copy.GetSize(), PLCoord(30, 20));
    EXPECT_NE(copy.GetBitmap(), loaded.GetBitmap());

    // Assigning a wrapper without a picture drops the picture and the EXIF data and takes its state.
    DeviceIndepBitmap empty;
    copy = empty;
    EXPECT_EQ(copy.GetBitmap(), nullptr);
    EXPECT_EQ(copy.GetExifData(), nullptr);
    EXPECT_EQ(copy.GetLoadState(), DeviceIndepBitmap::kNotLoaded);
    EXPECT_FALSE(copy.IsBusy());
    EXPECT_EQ(copy.GetQuarterTurns(), 0);
    EXPECT_EQ(copy.GetLastResult(), ImageResult {});
    EXPECT_EQ(copy.GetJpegQuality(), 90);

    // Self-assignment changes nothing.
    const PLCoord before = loaded.GetSize();
    DeviceIndepBitmap& self = loaded;
    loaded = self;
    EXPECT_EQ(loaded.GetSize(), before);
}

// Copies share their pixels until one of them changes them: every operation that writes pixels
// works on pixels of its picture's own, and the other copy keeps exactly what it had.
TEST_F(WrapperTest, CopiesSharePixelsUntilOneChangesThem)
{
    struct Change {
        const char* name;
        std::function<bool(DeviceIndepBitmap&)> apply;
    };
    const std::string jpeg = WriteJpeg("other.jpg", JpegRecipe {});
    const Change changes[] = {
        { "crop", [](DeviceIndepBitmap& d) { return d.Crop(1, 1, 5, 4); } },
        { "turn", [](DeviceIndepBitmap& d) { return d.Rotate(1); } },
        { "mirror", [](DeviceIndepBitmap& d) { return d.Mirror(); } },
        { "fill", [](DeviceIndepBitmap& d) { return d.Fill(win::RGB(1, 2, 3)); } },
        { "lightness", [](DeviceIndepBitmap& d) { return d.ApplyLightness(40, true); } },
        { "border strips",
            [](DeviceIndepBitmap& d) {
                return d.PaintBorderStrips(1, win::RGB(9, 9, 9), DeviceIndepBitmap::kBorderTop);
            } },
        { "dodge brush", [](DeviceIndepBitmap& d) { return d.AddDodgeBrush(3, 0, 50)->Apply(2, 2); } },
        { "grey", [](DeviceIndepBitmap& d) { return d.MakeGrayscale(); } },
        { "load",
            [&](DeviceIndepBitmap& d) {
                PLJPEGDecoder decoder;
                return d.LoadJpegWithExif(jpeg, decoder, -1, -1).severity == 0;
            } },
    };
    for (const Change& change : changes) {
        for (const bool changeTheCopy : { true, false }) {
            DeviceIndepBitmap original;
            LoadNumbered(original, 8, 6);
            PLWinBmp before;
            before.CreateCopy(*original.GetBitmap(), 0);
            DeviceIndepBitmap copy(original);
            ASSERT_EQ(copy.GetBitmap(), original.GetBitmap()) << change.name;
            EXPECT_TRUE(copy.SharesPixels());
            DeviceIndepBitmap& changed = changeTheCopy ? copy : original;
            const DeviceIndepBitmap& kept = changeTheCopy ? original : copy;
            ASSERT_TRUE(change.apply(changed)) << change.name;
            EXPECT_FALSE(*changed.GetBitmap() == before) << change.name << ": nothing changed";
            EXPECT_TRUE(*kept.GetBitmap() == before)
                << change.name << (changeTheCopy ? " of the copy" : " of the original");
            EXPECT_FALSE(kept.SharesPixels()) << change.name;
        }
    }
}

TEST(Wrapper, ResetAndLoadState)
{
    DeviceIndepBitmap dib;
    LoadNumbered(dib, 4, 4);
    dib.ResultFromException(PLTextException(42, "odd\n"));
    EXPECT_EQ(dib.GetLastResult(), (ImageResult { "Unexpected Error: odd", 5, 42 }));
    dib.SetJpegQuality(95);
    dib.SetBusy(true);
    ASSERT_TRUE(dib.Rotate(1));
    dib.SetLoadState(0);
    EXPECT_NE(dib.GetBitmap(), nullptr) << "state 0 keeps the picture";
    EXPECT_NE(dib.GetExifData(), nullptr);

    // The plain reset drops the picture and keeps the rest.
    dib.Reset(false);
    EXPECT_EQ(dib.GetBitmap(), nullptr);
    EXPECT_EQ(dib.GetExifData(), nullptr);
    EXPECT_EQ(dib.GetLastResult().code, 42);
    EXPECT_EQ(dib.GetLoadState(), 0);
    EXPECT_TRUE(dib.IsBusy());
    EXPECT_EQ(dib.GetFileType(), DeviceIndepBitmap::kJpegFile);
    EXPECT_EQ(dib.GetQuarterTurns(), 1);

    // The full reset returns to a new wrapper's state, but for the JPEG quality.
    dib.Reset(true);
    EXPECT_EQ(dib.GetLastResult(), ImageResult {});
    EXPECT_EQ(dib.GetLoadState(), DeviceIndepBitmap::kNotLoaded);
    EXPECT_FALSE(dib.IsBusy());
    EXPECT_EQ(dib.GetFileType(), 0);
    EXPECT_EQ(dib.GetQuarterTurns(), 0);
    EXPECT_EQ(dib.GetJpegQuality(), 95);

    // Any load state but 0 drops the picture.
    for (int32_t state : { 1, 4, -1 }) {
        LoadNumbered(dib, 2, 2);
        dib.SetLoadState(state);
        EXPECT_EQ(dib.GetLoadState(), state);
        EXPECT_EQ(dib.GetBitmap(), nullptr) << state;
        EXPECT_EQ(dib.GetExifData(), nullptr) << state;
        EXPECT_EQ(dib.GetSize(), PLCoord(0, 0)) << state;
    }

    dib.ResultFromException(PLTextException(PL_ERR_BAD_EXIF, "bad\n"));
    dib.ClearLastError();
    EXPECT_EQ(dib.GetLastResult(), ImageResult {});
}

} // namespace
