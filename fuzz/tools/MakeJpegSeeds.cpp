// Writes the seed corpus of the JPEG fuzz target: small files of every coding the decoder reads.
// Built by hand with the test fixtures, from the repository root:
//   g++ -std=c++20 -I. -Itests fuzz/tools/MakeJpegSeeds.cpp tests/imaging/JpegFixtures.cpp -ljpeg -o seeds
//   ./seeds fuzz/corpus/imaging_jpeg
#include <string>

#include "imaging/JpegFixtures.h"

using namespace jpegfixtures;

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const auto write
        = [&](const char* name, JpegSpec spec) { WriteFile(folder + "/" + name, MakeJpeg(spec)); };
    JpegSpec base;
    base.width = 19;
    base.height = 13;
    base.quality = 50;
    write("baseline420.jpg", base);
    JpegSpec spec = base;
    spec.lumaH = spec.lumaV = 1;
    write("baseline444.jpg", spec);
    spec = base;
    spec.progressive = true;
    write("progressive.jpg", spec);
    spec.arithmetic = true;
    write("progressive-arithmetic.jpg", spec);
    spec = base;
    spec.arithmetic = true;
    spec.restartInterval = 1;
    write("arithmetic-restart.jpg", spec);
    spec = base;
    spec.restartInterval = 1;
    write("restart.jpg", spec);
    spec = base;
    spec.colour = Colour::Grey;
    spec.density = JpegDensity { 2, 118, 118 };
    write("grey-density.jpg", spec);
    spec = base;
    spec.colour = Colour::Cmyk;
    write("cmyk.jpg", spec);
    spec.colour = Colour::Ycck;
    write("ycck.jpg", spec);
    spec = base;
    spec.app1 = { MakeExifBlock(0x0112, 6) };
    write("exif-orientation.jpg", spec);
    return 0;
}
