// Writes the seed corpus of the imaging_exif fuzz target: small EXIF blocks of every directory and
// maker-note layout the reader knows, in both byte orders, and a few malformed ones.
//   g++ -std=c++20 -I tests fuzz/generators/imaging_exif_seeds.cpp -o build/exif-seeds
//   build/exif-seeds fuzz/corpus/imaging_exif
#include "imaging/exif/ExifBlockBuilder.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void write(const std::string& folder, const std::string& name, const std::vector<uint8_t>& block)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
}

void standard(ExifBlockBuilder& b, const char* make, const char* model)
{
    b.Main().Ascii(0x010F, make).Ascii(0x0110, model).Short(0x0112, { 6 }).Rational(0x011A, 72, 1);
    b.Exif()
        .Rational(0x829A, 10, 2500)
        .Rational(0x829D, 28, 10)
        .Undefined(0x9101, { 1, 2, 3, 0 })
        .SRational(0x9201, 8, 1)
        .Rational(0x9202, 3, 1)
        .Rational(0x920A, 350, 10)
        .Undefined(0x9286, { 'A', 'S', 'C', 'I', 'I', 0, 0, 0, 'h', 'i' });
}

void makerNote(ExifBlockBuilder& b, ExifMakerLayout layout)
{
    ExifTestDirectory& d = b.MakerNote(layout);
    switch (layout) {
    case ExifMakerLayout::Nikon:
        d.Short(0x0003, { 5 }).Rational(0x000A, 2, 1);
        break;
    case ExifMakerLayout::Nikon2:
        d.Undefined(0x0001, { '0', '2', '1', '0' }).Ascii(0x0004, "FINE ").Rational(0x0085, 3, 2);
        break;
    case ExifMakerLayout::Olympus:
        d.Short(0x0201, { 2 }).Short(0x1004, { 2 }).Rational(0x0204, 1, 1);
        break;
    case ExifMakerLayout::Canon:
        d.Short(0x0001, { 40, 1, 0, 3, 4, 0, 0, 1, 0, 0, 0, 1, 0, 65535, 0, 1, 17, 3, 1, 0x3003 })
            .Short(0x0004, { 32, 0, 160, 0, 0, 0, 0, 3, 0, 2, 0, 0, 0, 0, 1, 65504 })
            .Long(0x0008, { 1001234 })
            .Long(0x000C, { 0x12345678 })
            .Short(0x000F, { 10, 0x0101, 0x0200, 0x0300, 0x1101 });
        break;
    case ExifMakerLayout::Fuji:
        d.Undefined(0x0000, { '0', '1', '3', '0' })
            .Ascii(0x1000, "NORMAL ")
            .Short(0x1001, { 3 })
            .Short(0x1010, { 1 });
        break;
    case ExifMakerLayout::Casio:
        d.Short(0x0001, { 1 }).Short(0x0004, { 4 }).Long(0x0006, { 1500 }).Short(0x0019, { 1 });
        break;
    }
}

void put32(std::vector<uint8_t>& block, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        block.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// Intel blocks whose offsets point where they should not: the GPS directory inside the Exif directory,
// the make's value in the TIFF header, the Canon settings array on the note's own directory.
std::vector<uint8_t> misplaced()
{
    ExifBlockBuilder b;
    b.Main().Ascii(0x010F, "Canon").Raw(0x0110, 2, 8, 0).Short(0x0112, { 6 });
    b.Exif().Raw(0x0001, 4, 1, 0x00020000).Short(0x0005, { 1 }).Short(0x001E, { 1 });
    b.Gps().Ascii(0x0001, "N");
    b.MakerNote(ExifMakerLayout::Canon).Raw(0x0001, 3, 4, 0).Short(0x000F, { 6, 0x0101, 0x0201 });
    std::vector<uint8_t> block = b.Build();
    put32(block, ExifFieldOf(block, 8, 0x8825), b.ExifOffset() + 2 + 8 + 2);
    const size_t noteField = ExifFieldOf(block, b.ExifOffset(), 0x927C);
    const uint32_t note = block[noteField] | block[noteField + 1] << 8 | block[noteField + 2] << 16
        | uint32_t { block[noteField + 3] } << 24;
    put32(block, ExifFieldOf(block, note, 0x0001), note);
    return block;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s folder\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    struct Maker {
        const char* file;
        const char* make;
        const char* model;
        ExifMakerLayout layout;
    };
    const Maker makers[] = {
        { "nikon", "NIKON", "E950", ExifMakerLayout::Nikon },
        { "nikon2", "NIKON CORPORATION", "NIKON D70", ExifMakerLayout::Nikon2 },
        { "olympus", "OLYMPUS OPTICAL CO.,LTD", "C3030Z", ExifMakerLayout::Olympus },
        { "canon", "Canon", "Canon EOS D60", ExifMakerLayout::Canon },
        { "fuji", "FUJIFILM", "FinePix S1", ExifMakerLayout::Fuji },
        { "casio", "CASIO", "QV-2000UX", ExifMakerLayout::Casio },
    };
    for (const auto order : { ExifByteOrder::Intel, ExifByteOrder::Motorola }) {
        const std::string suffix = order == ExifByteOrder::Intel ? "-ii" : "-mm";
        for (const Maker& m : makers) {
            ExifBlockBuilder b(order);
            standard(b, m.make, m.model);
            makerNote(b, m.layout);
            write(folder, std::string(m.file) + suffix, b.Build());
        }
        ExifBlockBuilder plain(order);
        standard(plain, "Studio", "Plain");
        plain.Gps().Ascii(0x0001, "N").Rationals(0x0002, { 51, 1, 30, 1, 15, 1 }).Byte(0x0005, { 0 });
        plain.Thumbnail({ 0xFF, 0xD8, 0xFF, 0xD9 });
        write(folder, "gps-thumbnail" + suffix, plain.Build());

        ExifBlockBuilder loop(order);
        loop.Main().Raw(0x8769, 4, 1, 8).Raw(0x8825, 4, 1, 8).Raw(0x0112, 3, 1, 0x7fffffff);
        write(folder, "loop" + suffix, loop.Build());

        ExifBlockBuilder odd(order);
        odd.Main().Raw(0x0110, 2, 40000, 0xfffffff0).SLong(0x0200, { -2147483647 - 1 });
        odd.Exif()
            .SRational(0x829A, -2147483647 - 1, -2147483647 - 1)
            .Rational(0x9201, 1000, 1)
            .Rational(0x9202, 0, 0);
        write(folder, "odd" + suffix, odd.Build());

        // A type the reader does not know: fatal in the main directory, the end of a maker note.
        ExifBlockBuilder badMain(order);
        badMain.Main().Short(0x0112, { 3 }).Raw(0x0131, 13, 1, 0);
        write(folder, "badtype-main" + suffix, badMain.Build());
        ExifBlockBuilder badNote(order);
        standard(badNote, "Canon", "Canon EOS D30");
        badNote.MakerNote(ExifMakerLayout::Canon).Long(0x0008, { 1001234 }).Raw(0x0009, 13, 1, 0);
        write(folder, "badtype-note" + suffix, badNote.Build());
    }
    write(folder, "text-caps-ii", ExifTextBomb(64));
    write(folder, "misplaced-ii", misplaced());
    return 0;
}
