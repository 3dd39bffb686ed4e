// The size a metafile is drawn at: the one its header describes, within a bound on the longer side
// that keeps the proportions, so that a few bytes of header cannot cost gigabytes.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/metafile/PLWEMFDecoder.h"
#include "metafile/DecodeForTest.h"
#include "metafile/WmfWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using wmfwriter::Bytes;
using wmfwriter::Writer;
using namespace decodefortest;

// An enhanced metafile of nothing but its header and its end: the frame in hundredths of a
// millimetre, and the reference device in pixels and in millimetres.
Bytes EmptyEmf(std::initializer_list<int32_t> frame, int32_t devicePixelsX, int32_t devicePixelsY,
    int32_t deviceMmX, int32_t deviceMmY)
{
    Bytes out;
    const auto put = [&out](int32_t v) { Writer::Put32(out, uint32_t(v)); };
    put(1);
    put(88);
    for (const int32_t v : { 0, 0, 10, 10 }) // the bounds in device pixels
        put(v);
    for (const int32_t v : frame)
        put(v);
    for (const int32_t v : { 0x464D4520, 0x10000, 108, 2, 1, 0, 0, 0 })
        put(v);
    for (const int32_t v : { devicePixelsX, devicePixelsY, deviceMmX, deviceMmY })
        put(v);
    for (const int32_t v : { 14, 20, 0, 16, 20 }) // the last record, without a palette
        put(v);
    return out;
}

// A 1,480-byte file from the wild gave this header: a frame of 655 x 664 mm on a 4,800 x 6,400
// pixel device of 203 x 271 mm, 15,495 x 15,795 pixels by the header's rule.
Bytes HostileEmf()
{
    return EmptyEmf({ 0, -65536, 65535, 1350 }, 4800, 6400, 203, 271);
}

PLCoord OpenedSize(const Bytes& file)
{
    const std::string path = (TestFolder() / "picture").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    PLWEMFDecoder decoder;
    decoder.OpenFile(path.c_str());
    return decoder.GetSize();
}

TEST(MetafileSize, LargePicturesAreDrawnWithinTheBoundInTheirProportions)
{
    const Writer w;
    struct SizeCase {
        const char* what;
        Bytes file;
        PLCoord size;
    };
    const SizeCase cases[] = {
        { "1 x 0.5 inch at 96 dpi", w.File(0, 0, 1440, 720, 1440), PLCoord(96, 48) },
        { "the bound itself", w.File(0, 0, 8192, 100, 96), PLCoord(8192, 100) },
        { "one pixel past it", w.File(0, 0, 8193, 100, 96), PLCoord(8192, 99) },
        { "taller than wide", w.File(0, 0, 10, 16384, 96), PLCoord(5, 8192) },
        { "more than six million pixels a side", w.File(-32000, -32000, 32000, 32000, 1),
            PLCoord(8192, 8192) },
        { "64,000 inches by 32,000", w.File(-32000, -16000, 32000, 16000, 1), PLCoord(8192, 4096) },
        { "a thin line stays a pixel wide", w.File(0, 0, 30000, 1, 1), PLCoord(8192, 1) },
        { "an enhanced metafile of 1 pixel a mm", EmptyEmf({ 0, 0, 30000, 20000 }, 100, 100, 100, 100),
            PLCoord(300, 200) },
        { "the hostile header", HostileEmf(), PLCoord(15495 * 8192 / 15795, 8192) },
    };
    EnsureApplication();
    for (const SizeCase& c : cases)
        EXPECT_EQ(OpenedSize(c.file), c.size) << c.what;
}

// Data that is neither kind of metafile is refused as no metafile player could load it.
TEST(MetafileSize, DataNoPlayerCanLoadIsRefusedWithCode6)
{
    EnsureApplication();
    const Bytes cases[]
        = { { 1, 2, 3 }, Bytes(40, 0), { 0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0 } };
    for (const Bytes& file : cases) {
        try {
            Decode(file);
            ADD_FAILURE() << "decoded " << file.size() << " bytes";
        } catch (const PLTextException& e) {
            EXPECT_EQ(e.GetCode(), PL_ERR_FORMAT_NOT_SUPPORTED);
            EXPECT_STREQ(
                e.GetText(), "Decoder error: Windows Metafile functions failed to load this image.\n");
        }
    }
}

// A placeable metafile's inches are drawn at the screen's logical resolution, 96 dpi when there is
// no graphical application (which also cannot draw it). A process's screen is fixed when its
// application starts, so the test program runs this test again in a child: once with Qt told of a
// 144-dpi screen, once without an application.
TEST(MetafileSize, PlaceableMetafilesAreSizedAtTheScreensLogicalResolution)
{
    const Bytes inchByHalf = Writer().File(0, 0, 1440, 720, 1440);
    const QByteArray child = qgetenv("ORVANEL_METAFILE_DPI_CHILD");
    if (child == "144") {
        EnsureApplication();
        EXPECT_EQ(OpenedSize(inchByHalf), PLCoord(144, 72));
        EXPECT_EQ(Decode(inchByHalf)->GetSize(), PLCoord(144, 72));
        return;
    }
    if (child == "none") {
        ASSERT_EQ(QCoreApplication::instance(), nullptr);
        EXPECT_EQ(OpenedSize(inchByHalf), PLCoord(96, 48));
        PLWEMFDecoder decoder;
        PLAnyBmp bmp;
        try {
            decoder.DecodeMemory(inchByHalf.data(), int(inchByHalf.size()), &bmp);
            ADD_FAILURE() << "drawn without an application";
        } catch (const PLTextException& e) {
            EXPECT_EQ(e.GetCode(), PL_ERR_FORMAT_NOT_SUPPORTED);
        }
        return;
    }
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    for (const char* mode : { "144", "none" }) {
        const std::string command = std::string("ORVANEL_METAFILE_DPI_CHILD=") + mode
            + " QT_FONT_DPI=144 QT_ENABLE_HIGHDPI_SCALING=0 QT_QPA_PLATFORM=offscreen '" + program
            + "' --gtest_filter=MetafileSize.PlaceableMetafilesAreSizedAtTheScreensLogicalResolution"
              " >/dev/null 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << "the child with screen " << mode;
    }
}

TEST(MetafileSize, TheHostileHeaderDecodesWithinTheBound)
{
    const auto bmp = Decode(HostileEmf());
    ASSERT_EQ(bmp->GetSize(), PLCoord(8036, 8192));
    EXPECT_EQ(bmp->GetBitsPerPixel(), 32);
    EXPECT_EQ(bmp->GetPixel32(0, 0), Opaque(255, 255, 255));
    EXPECT_EQ(bmp->GetPixel32(8035, 8191), Opaque(255, 255, 255));
}

// Drawn straight into the bitmap's pixels, a bitmap kept bottom row first gets the same picture,
// the right way up, as one kept top row first.
TEST(MetafileSize, BitmapsOfEitherRowOrderGetTheSamePicture)
{
    // Red over the top half of 20 x 10 pixels, blue over the left two columns.
    Writer w;
    w.Brush(0, 255, 0, 0);
    w.Record(wmfwriter::kSelectObject, { 0 });
    w.Pen(5, 0, 0, 0, 0);
    w.Record(wmfwriter::kSelectObject, { 1 });
    w.Record(wmfwriter::kRectangle, { 6, 21, 0, 0 });
    w.Brush(0, 0, 0, 255);
    w.Record(wmfwriter::kSelectObject, { 2 });
    w.Record(wmfwriter::kRectangle, { 11, 3, 0, 0 });
    const Bytes file = w.File(0, 0, 20, 10, 96);
    EnsureApplication();
    const std::string path = (TestFolder() / "halves.wmf").string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    PLAnyBmp topFirst;
    PLWinBmp bottomFirst;
    PLWEMFDecoder().DecodeFile(path.c_str(), &topFirst);
    PLWEMFDecoder().DecodeFile(path.c_str(), &bottomFirst);
    ASSERT_EQ(bottomFirst.GetSize(), PLCoord(20, 10));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(bottomFirst.GetPixel32(x, y), topFirst.GetPixel32(x, y)) << x << "," << y;
    EXPECT_EQ(topFirst.GetPixel32(10, 2), Opaque(255, 0, 0));
    EXPECT_EQ(topFirst.GetPixel32(10, 7), Opaque(255, 255, 255));
    EXPECT_EQ(topFirst.GetPixel32(0, 8), Opaque(0, 0, 255));
}

} // namespace
