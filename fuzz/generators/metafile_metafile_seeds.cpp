// Writes the seed corpus of the metafile_metafile fuzz target: Windows metafiles with and without
// the placeable header (shapes, objects, saved states, text, a stretched picture) and enhanced
// metafiles written with libEMF, and text in a double-byte code page.
//   g++ -std=c++20 -I tests fuzz/generators/metafile_metafile_seeds.cpp tests/metafile/LibEmfPictures.cpp \
//       -lEMF -o build/metafile-seeds
//   build/metafile-seeds fuzz/corpus/metafile_metafile
// The seeds named records-* are the fixtures of tests/metafile/MetafileRecordsTest.cpp (paths, arcs,
// clipping, regions, blits, pattern brushes, text advances) and MetafileBitmapRecordsTest.cpp
// (bitmaps in every layout, monochrome brushes, partial blits), copied from the tests' output folders.
// Those of MetafileStylesTest.cpp (dashed pens, hatched brushes, raster operations, gradient
// fills) are copied the same way.
#include "metafile/EmfBuilder.h"
#include "metafile/LibEmfPictures.h"
#include "metafile/WmfWriter.h"

#include <fstream>
#include <string>

namespace {

using namespace wmfwriter;

void write(const std::string& folder, const std::string& name, const Bytes& file)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

Writer Shapes()
{
    Writer w;
    w.Record(kSetWindowOrg, { 0, 0 });
    w.Record(kSetWindowExt, { 100, 200 });
    w.Pen(0, 2, 10, 20, 30);
    w.Brush(0, 200, 100, 0);
    w.Record(kSelectObject, { 0 });
    w.Record(kSelectObject, { 1 });
    w.Record(kSaveDc, {});
    w.Record(kRectangle, { 50, 60, 10, 20 });
    w.Record(kEllipse, { 90, 190, 40, 100 });
    w.Record(kPolygon, { 3, 1, 1, 30, 1, 15, 20 });
    w.Record(0x0325, { 3, 5, 5, 50, 5, 50, 50 }); // polyline
    w.Record(0x0538, { 2, 3, 3, 0, 0, 9, 0, 9, 9, 20, 20, 29, 20, 29, 29 }); // two polygons
    w.Record(0x0214, { 70, 10 }); // move to
    w.Record(0x0213, { 80, 150 }); // line to
    w.Record(kRestoreDc, { 0xFFFF });
    w.Record(kDeleteObject, { 1 });
    w.Colour(kSetTextColor, 0, 0, 255);
    w.Record(0x02FB, { -12, 0, 450, 0, 700, 1, 0, 0, 0, 'A' | ('r' << 8), 'i' | ('a' << 8), 'l' });
    w.Record(kSelectObject, { 1 });
    w.Text(20, 30, "Proof");
    return w;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const std::string folder = argv[1];
    const Writer shapes = Shapes();
    write(folder, "wmf-shapes", shapes.File());
    write(folder, "wmf-placeable-shapes", shapes.File(0, 0, 200, 100, 1440));
    Writer picture;
    const Bytes dib = emfbuilder::TwoByTwoDib();
    picture.RecordOf(0x0F43, { 0x0020, 0x00CC, 0, 2, 2, 0, 0, 40, 40, 10, 20 }, dib);
    write(folder, "wmf-picture", picture.File(0, 0, 100, 100, 96));
    write(folder, "emf-libemf-shapes", libemf::ShapesPicture());
    // Blits, world transforms, a stretched picture, a curve and a palette.
    using emfbuilder::FloatBits;
    emfbuilder::EmfBuilder emf(100);
    emf.Record(39, { 1, 0, 0x0000FF00, 0 });
    emf.Record(37, { 1 });
    emf.Record(76, { 0, 0, 0, 0, 0, 0, 50, 50, 0x00F00021, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    emf.Record(35, { FloatBits(2), 0, 0, FloatBits(2), FloatBits(50), 0 });
    emf.Record(43, { 0, 0, 10, 10 });
    emf.Record(36, { 0, 0, 0, 0, 0, 0, 1 });
    emf.Record(77,
        { 0, 0, 0, 0, 0, 60, 40, 40, 0x00CC0020, 0, 0, FloatBits(1), 0, 0, FloatBits(1), 0, 0, 0, 0, 108, 40,
            148, 16, 2, 1 },
        dib);
    emf.Record(38, { 4, 0, 3, 0, 0 });
    emf.Record(37, { 4 });
    emf.Record(88, { 0, 0, 0, 0, 4, 60 | (90u << 16), 70 | (90u << 16), 80 | (90u << 16), 95 | (90u << 16) });
    write(folder, "emf-hand-made", emf.File({ 0x000000FF, 0x00008000 }));
    // Text in a Shift JIS font: double-byte characters with their advances, a lead byte cut off,
    // and the small text record in both its forms.
    Writer text;
    text.RecordOf(0x02FB, { -16, 0, 0, 0, 400, 0, 128 << 8, 0, 0 }, { 0x82, 0x6C, 0x82, 0x72, 0 });
    text.Record(kSelectObject, { 0 });
    text.RecordOf(
        0x0A32, { 10, 10, 5, 0 }, { 0x82, 0xA0, 'A', 0x82, 0xA2, 0, 10, 0, 20, 0, 5, 0, 30, 0, 40, 0 });
    text.Text(10, 40, "x\x82");
    write(folder, "wmf-text-code-page", text.File(0, 0, 100, 100, 96));
    emfbuilder::EmfBuilder emfText(100);
    emfText.Record(
        82, { 1, uint32_t(-16), 0, 0, 0, 400, 128u << 24, 0, 'A' | ('r' << 16), 'i' | ('a' << 16), 'l' });
    emfText.Record(37, { 1 });
    emfText.Record(83, { 0, 0, 0, 0, 1, 0, 0, 10, 10, 4, 76, 0, 0, 0, 0, 0, 80, 0xA282A082, 10, 20, 30, 40 });
    emfText.Record(108, { 20, 30, 4, 0x300, 1, 0, 0, 'C' | ('a' << 8) | ('f' << 16) | (0xE9u << 24) });
    emfText.Record(108, { 20, 50, 2, 0, 1, 0, 0, 0, 0, 100, 100, 0x20AC3042 });
    write(folder, "emf-text-code-page", emfText.File());
    return 0;
}
