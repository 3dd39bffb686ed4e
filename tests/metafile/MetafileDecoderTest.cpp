#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLMetafileDecoderFactory.h"
#include "imaging/detect/PLAnyPicDecoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/PLWEMFDecoder.h"
#include "imaging/metafile/RecordingMetafileCanvas.h"
#include "metafile/DecodeForTest.h"
#include "metafile/EmfBuilder.h"
#include "metafile/LibEmfPictures.h"
#include "metafile/WmfWriter.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using emfbuilder::EmfBuilder;
using emfbuilder::FloatBits;
using emfbuilder::TwoByTwoDib;
using wmfwriter::Bytes;
using wmfwriter::Writer;
using namespace decodefortest;

// A placeable metafile of 1440 x 720 units at 1440 units an inch: a red rectangle with a one-unit
// black pen over the left half, a blue ellipse without pen in the right half, a green triangle in
// the state saved before the blue brush.
Bytes PlaceableShapes(int unitsPerInch = 1440)
{
    Writer w;
    w.Record(wmfwriter::kSetWindowOrg, { 0, 0 });
    w.Record(wmfwriter::kSetWindowExt, { 720, 1440 });
    w.Pen(0, 1, 0, 0, 0); // object 0
    w.Brush(0, 255, 0, 0); // object 1
    w.Record(wmfwriter::kSelectObject, { 0 });
    w.Record(wmfwriter::kSelectObject, { 1 });
    w.Record(wmfwriter::kRectangle, { 720, 720, 0, 0 });
    w.Record(wmfwriter::kSaveDc, {});
    w.Pen(5, 0, 0, 0, 0); // object 2: no pen
    w.Brush(0, 0, 0, 255); // object 3
    w.Record(wmfwriter::kSelectObject, { 2 });
    w.Record(wmfwriter::kSelectObject, { 3 });
    w.Record(wmfwriter::kEllipse, { 660, 1380, 60, 780 });
    w.Record(wmfwriter::kRestoreDc, { 0xFFFF });
    w.Record(wmfwriter::kDeleteObject, { 3 });
    w.Brush(0, 0, 255, 0); // takes the free slot 3
    w.Record(wmfwriter::kSelectObject, { 3 });
    w.Record(wmfwriter::kPolygon, { 3, 1000, 700, 1100, 700, 1050, 600 });
    return w.File(0, 0, 1440, 720, unitsPerInch);
}

TEST(MetafileDecoder, PlaceableMetafileIsSizedByItsBoxAndDrawsItsShapes)
{
    const auto bmp = Decode(PlaceableShapes());
    ASSERT_EQ(bmp->GetSize(), PLCoord(96, 48)); // 1 inch by half an inch at 96 dpi
    EXPECT_EQ(bmp->GetPixel32(20, 20), Opaque(255, 0, 0));
    EXPECT_EQ(bmp->GetPixel32(0, 20), Opaque(0, 0, 0)); // the pen
    EXPECT_EQ(bmp->GetPixel32(72, 24), Opaque(0, 0, 255)); // the ellipse's centre
    EXPECT_EQ(bmp->GetPixel32(53, 3), Opaque(255, 255, 255)); // outside the ellipse
    EXPECT_EQ(
        bmp->GetPixel32(70, 44), Opaque(0, 255, 0)); // the triangle, drawn without the restored-away pen
}

TEST(MetafileDecoder, RectangleAndPolygonAgreeWithLibwmf)
{
    // libwmf's renderer at the same size (it leaves out the ellipse drawn without pen, and places
    // the small triangle's edges a pixel apart from ours, so one point inside it is compared).
    const auto bmp = Decode(PlaceableShapes(), "shapes-placeable.wmf");
    const std::string folder = TestFolder().string() + "/";
    const std::string command = "wmf2gd --maxwidth=96 --maxheight=48 --maxsize -t png -o '" + folder
        + "shapes-libwmf.png' '" + folder + "shapes-placeable.wmf' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const QImage theirs(QString::fromStdString(folder + "shapes-libwmf.png"));
    ASSERT_EQ(theirs.size(), QSize(bmp->GetWidth(), bmp->GetHeight()));
    for (const auto& [x, y] :
        { std::pair { 0, 20 }, { 20, 20 }, { 47, 30 }, { 24, 0 }, { 71, 45 }, { 60, 44 }, { 90, 5 } }) {
        const QRgb c = theirs.pixel(x, y);
        EXPECT_EQ(bmp->GetPixel32(x, y), Opaque(uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))))
            << x << "," << y;
    }
}

TEST(MetafileDecoder, TextIsDrawnInItsFontAndColourFromItsTopLeftCorner)
{
    // 100 x 50 units at 96 an inch: one unit a pixel. Blue text 20 units high from (10, 10).
    Writer w;
    w.Record(0x02FB, { -20, 0, 0, 0, 700, 0, 0, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l' });
    w.Record(wmfwriter::kSelectObject, { 0 });
    w.Colour(wmfwriter::kSetTextColor, 0, 0, 255);
    w.Text(10, 10, "HH");
    const auto bmp = Decode(w.File(0, 0, 100, 50, 96));
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            if (bmp->GetPixel32(x, y) != Opaque(255, 255, 255))
                ++(x >= 10 && x < 45 && y >= 10 && y < 32 ? inside : outside);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(bmp->GetPixel32(12, 20), Opaque(0, 0, 255)); // the first H's left stem
}

TEST(MetafileDecoder, StretchedPicturesLandOnTheirRectangle)
{
    // 100 x 100 units at 96 an inch: one unit a pixel; the picture over (20, 10) to (60, 50).
    Writer w;
    const Bytes dib = TwoByTwoDib();
    w.RecordOf(0x0F43, { 0x0020, 0x00CC, 0, 2, 2, 0, 0, 40, 40, 10, 20 }, dib);
    const auto bmp = Decode(w.File(0, 0, 100, 100, 96));
    ASSERT_EQ(bmp->GetSize(), PLCoord(100, 100));
    EXPECT_EQ(bmp->GetPixel32(25, 15), Opaque(255, 0, 0));
    EXPECT_EQ(bmp->GetPixel32(55, 15), Opaque(0, 255, 0));
    EXPECT_EQ(bmp->GetPixel32(25, 45), Opaque(0, 0, 255));
    EXPECT_EQ(bmp->GetPixel32(55, 45), Opaque(255, 255, 255));
    EXPECT_EQ(bmp->GetPixel32(15, 15), Opaque(255, 255, 255)); // left of it
    EXPECT_EQ(bmp->GetPixel32(25, 55), Opaque(255, 255, 255)); // below it
}

TEST(MetafileDecoder, ExtentsOfZeroFallBackToTheDefaultSize)
{
    // No units an inch (a division by zero in the size) and an empty window: 320 x 200, drawn
    // without dividing by zero.
    EXPECT_EQ(Decode(PlaceableShapes(0))->GetSize(), PLCoord(320, 200));
    Writer w;
    w.Record(wmfwriter::kSetWindowExt, { 0, 0 });
    w.Record(wmfwriter::kRectangle, { 10, 10, 0, 0 });
    EXPECT_EQ(Decode(w.File())->GetSize(), PLCoord(320, 200));
}

TEST(MetafileDecoder, TooLargeAPictureIsRefused)
{
    Writer w;
    // 32000 units at one unit an inch would be more than three million pixels a side.
    EXPECT_EQ(RefusalCode(w.File(-32000, -32000, 32000, 32000, 1)), PL_ERR_DIB_TOO_LARGE);
}

TEST(MetafileDecoder, EnhancedMetafileFromLibEmfIsRecognisedByItsContent)
{
    const Bytes emf = libemf::ShapesPicture();
    const libemf::Device device = libemf::ReferenceDevice(emf);
    ASSERT_GT(device.widthMm, 0);
    for (const char* name : { "shapes.emf", "shapes.wmf", "shapes" }) {
        const auto bmp = Decode(emf, name);
        // 40 x 20 mm on the reference device.
        const int width = 4000 * device.width / (device.widthMm * 100);
        const int height = 2000 * device.height / (device.heightMm * 100);
        ASSERT_EQ(bmp->GetSize(), PLCoord(width, height)) << name;
        const auto at
            = [&](double fx, double fy) { return bmp->GetPixel32(int(fx * width), int(fy * height)); };
        EXPECT_EQ(at(0.25, 0.7), Opaque(255, 0, 0)) << name; // the rectangle
        EXPECT_EQ(at(0.75, 0.5), Opaque(0, 0, 255)) << name; // the ellipse
        EXPECT_EQ(at(0.95, 0.05), Opaque(0, 255, 0)) << name; // the triangle
        EXPECT_EQ(at(0.99, 0.45), Opaque(255, 255, 255)) << name; // below it
        EXPECT_EQ(at(0.75, 0.95), Opaque(255, 255, 0)) << name; // the line
        EXPECT_EQ(at(0.53, 0.05), Opaque(255, 255, 255)) << name; // the background
        // The text: black strokes in its band on the rectangle, none below it.
        const auto blackIn = [&](double top, double bottom) {
            int count = 0;
            for (int y = int(top * height); y < int(bottom * height); ++y)
                for (int x = 2; x < width / 2 - 2; ++x)
                    count += bmp->GetPixel32(x, y) == Opaque(0, 0, 0);
            return count;
        };
        EXPECT_GT(blackIn(0.1, 0.35), 20) << name;
        EXPECT_EQ(blackIn(0.45, 0.9), 0) << name;
        EXPECT_FALSE(bmp->GetBitsPerPixel() == 8);
        if (std::string(name) == "shapes.emf") {
            QImage image(width, height, QImage::Format_RGB32);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x) {
                    const PLPixel32 p = bmp->GetPixel32(x, y);
                    image.setPixel(x, y, qRgb(p.GetR(), p.GetG(), p.GetB()));
                }
            image.save(QString::fromStdString(std::string(ORVANEL_TEST_OUTPUT) + "/metafile/shapes-emf.png"));
        }
    }
}

TEST(MetafileDecoder, EveryPixelIsOpaque)
{
    const auto bmp = Decode(PlaceableShapes());
    for (int y = 0; y < bmp->GetHeight(); ++y)
        for (int x = 0; x < bmp->GetWidth(); ++x)
            ASSERT_EQ(bmp->GetPixel32(x, y).GetA(), 255) << x << "," << y;
}

// A palette of three entries and a rectangle filled with the second.
Bytes PalettedEmf()
{
    EmfBuilder b(10);
    b.Record(39, { 1, 0, 0x00008000, 0 }); // brush 1: green 128
    b.Record(37, { 1 }); // select it
    b.Record(43, { 0, 0, 10, 10 }); // rectangle
    return b.File({ 0x000000FF, 0x00008000, 0x00FF0000 });
}

TEST(MetafileDecoder, EnhancedRecordsLibEmfDoesNotWrite)
{
    EmfBuilder b(100);
    b.Record(39, { 1, 0, 0x0000FF00, 0 }); // brush 1: green
    b.Record(37, { 1 });
    b.Record(
        76, { 0, 0, 0, 0, 0, 0, 50, 50, 0x00F00021, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }); // brush blit
    b.Record(39, { 2, 0, 0x00FF0000, 0 }); // brush 2: blue
    b.Record(37, { 2 });
    b.Record(38, { 3, 5, 0, 0, 0 }); // pen 3: none
    b.Record(37, { 3 });
    b.Record(35, { FloatBits(2), 0, 0, FloatBits(2), FloatBits(50), 0 }); // scale 2, 50 to the right
    b.Record(43, { 0, 0, 10, 10 }); // lands on (50, 0) to (70, 20)
    b.Record(36, { 0, 0, 0, 0, 0, 0, 1 }); // back to identity
    const Bytes dib = TwoByTwoDib();
    b.Record(77,
        { 0, 0, 0, 0, 0, 60, 40, 40, 0x00CC0020, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0, 0, 0, 108, 40,
            148, 16, 2, 1 },
        dib); // the picture's top row over (0, 60) to (40, 100)
    b.Record(38, { 4, 0, 3, 0, 0 }); // pen 4: black, 3 wide
    b.Record(37, { 4 });
    b.Record(88, { 0, 0, 0, 0, 4, 60 | (90u << 16), 70 | (90u << 16), 80 | (90u << 16), 95 | (90u << 16) });
    const auto bmp = Decode(b.File());
    ASSERT_EQ(bmp->GetSize(), PLCoord(100, 100));
    EXPECT_EQ(bmp->GetPixel32(25, 25), Opaque(0, 255, 0)); // the blit
    EXPECT_EQ(bmp->GetPixel32(55, 5), Opaque(0, 0, 255)); // the transformed rectangle
    EXPECT_EQ(bmp->GetPixel32(68, 18), Opaque(0, 0, 255));
    EXPECT_EQ(bmp->GetPixel32(72, 22), Opaque(255, 255, 255));
    EXPECT_EQ(bmp->GetPixel32(10, 80), Opaque(255, 0, 0)); // the picture's top row, stretched
    EXPECT_EQ(bmp->GetPixel32(30, 80), Opaque(0, 255, 0));
    EXPECT_EQ(bmp->GetPixel32(80, 90), Opaque(0, 0, 0)); // the curve
    EXPECT_EQ(bmp->GetPixel32(80, 80), Opaque(255, 255, 255));
}

TEST(MetafileDecoder, MetafileWithItsOwnPaletteDecodesToOpaquePaletteEntries)
{
    const Bytes emf = PalettedEmf();
    const auto bmp = Decode(emf);
    ASSERT_EQ(bmp->GetBitsPerPixel(), 8);
    ASSERT_EQ(bmp->GetSize(), PLCoord(10, 10));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(bmp->GetPalette()[i].GetA(), 255) << i;
    EXPECT_EQ(bmp->GetPalette()[0], Opaque(255, 0, 0));
    EXPECT_EQ(bmp->GetPixel32(5, 5), Opaque(0, 128, 0));
}

// With the metafile library registered, the decoder of any format finds metafiles by their name
// (whatever their bytes say) and decodes them as the metafile decoder does.
TEST(MetafileDecoder, FoundByNameThroughTheDecoderOfAnyFormat)
{
    const PLMetafileDecoderFactory before = SetMetafileDecoderFactory(nullptr);
    RegisterMetafileDecoder();
    struct NamedFile {
        const char* name;
        Bytes file;
        int32_t type;
    };
    const NamedFile cases[] = {
        { "shapes.wmf", PlaceableShapes(), PLFileType::Wmf },
        { "palette.EMF", PalettedEmf(), PLFileType::Emf },
        { "shapes.wmf.jpg", PlaceableShapes(), PLFileType::Wmf },
    };
    for (const NamedFile& c : cases) {
        const auto own = Decode(c.file, c.name);
        const std::string path = (TestFolder() / c.name).string();
        PLAnyPicDecoder any;
        PLAnyBmp bmp;
        any.DecodeFile(path.c_str(), &bmp);
        EXPECT_EQ(any.GetFileType(), c.type) << c.name;
        ASSERT_EQ(bmp.GetSize(), own->GetSize()) << c.name;
        ASSERT_EQ(bmp.GetBitsPerPixel(), own->GetBitsPerPixel()) << c.name;
        for (int y = 0; y < bmp.GetHeight(); ++y)
            for (int x = 0; x < bmp.GetWidth(); ++x)
                ASSERT_EQ(bmp.GetPixel32(x, y), own->GetPixel32(x, y)) << c.name << " " << x << "," << y;
    }
    SetMetafileDecoderFactory(before);
}

TEST(MetafileDecoder, WithoutAGraphicalApplicationThePictureIsRefused)
{
    // Runs in a process of its own (as every test under CTest) before any application exists.
    if (QCoreApplication::instance() != nullptr)
        GTEST_SKIP() << "an application exists already";
    const Bytes file = PlaceableShapes();
    PLWEMFDecoder decoder;
    PLAnyBmp bmp;
    try {
        decoder.DecodeMemory(file.data(), int(file.size()), &bmp);
        FAIL() << "decoded without an application";
    } catch (const PLTextException& e) {
        EXPECT_EQ(e.GetCode(), PL_ERR_FORMAT_NOT_SUPPORTED);
    }
}

TEST(MetafileDecoder, TheFactoryHandsOutTheRegisteredDecoder)
{
    const PLMetafileDecoderFactory before = SetMetafileDecoderFactory(nullptr);
    RegisterMetafileDecoder();
    EXPECT_NE(dynamic_cast<PLWEMFDecoder*>(CreateMetafileDecoder().get()), nullptr);
    SetMetafileDecoderFactory(before);
}

TEST(MetafilePlayer, MalformedRecordsAreSkippedAndTheRestPlayed)
{
    Writer w;
    w.Record(wmfwriter::kRectangle, { 1, 2 }); // too short
    w.Record(wmfwriter::kPolygon, { 30000, 1, 2 }); // more points than the record holds
    w.Record(0x0F43, { 0, 0, 0, 0, 0, 0, 5, 5, 0, 0, 0 }); // a fill without picture of no raster operation
    w.Record(0x0ABC, {}); // unknown
    w.Record(wmfwriter::kSelectObject, { 900 }); // no such object
    w.Record(wmfwriter::kRestoreDc, { 0xFFFF }); // nothing saved
    w.Record(wmfwriter::kEllipse, { 10, 10, 0, 0 });
    const Bytes file = w.File();
    const metafile::Metafile m = metafile::Parse(file.data(), file.size());
    metafile::RecordingMetafileCanvas canvas;
    metafile::MetafilePlayer player(m, canvas, 50, 50);
    player.Play();
    EXPECT_EQ(canvas.calls, std::vector<std::string> { "shape 13" }); // the ellipse: four curves
    EXPECT_EQ(player.SkippedRecords(), 3); // the two short ones and the unknown one
}

TEST(MetafileData, RecordsRunningPastTheDataAreRefused)
{
    Bytes wmf = PlaceableShapes();
    wmf.resize(wmf.size() - 10);
    EXPECT_EQ(RefusalCode(wmf), PL_ERR_FORMAT_UNKNOWN);
    Bytes emf = libemf::ShapesPicture();
    emf.resize(emf.size() - 4);
    EXPECT_EQ(RefusalCode(emf), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(RefusalCode(Bytes { 1, 2, 3 }), PL_ERR_WRONG_SIGNATURE);
}

} // namespace
