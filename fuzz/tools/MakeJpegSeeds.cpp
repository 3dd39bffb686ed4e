// Writes the seed corpus of the JPEG fuzz target: small files of every coding the decoder reads.
// Built by hand with the test fixtures, from the repository root:
//   g++ -std=c++20 -I. -Itests fuzz/tools/MakeJpegSeeds.cpp tests/imaging/JpegFixtures.cpp -ljpeg -o seeds
//   ./seeds fuzz/corpus/imaging_jpeg
#include <string>

#include "imaging/jpeg/JpegFixtures.h"

using namespace jpegfixtures;

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const auto write
        = [&](const char* name, JpegRecipe recipe) { WriteFile(folder + "/" + name, MakeJpeg(recipe)); };
    JpegRecipe base;
    base.width = 19;
    base.height = 13;
    base.quality = 50;
    write("baseline420.jpg", base);
    JpegRecipe recipe = base;
    recipe.lumaH = recipe.lumaV = 1;
    write("baseline444.jpg", recipe);
    recipe = base;
    recipe.progressive = true;
    write("progressive.jpg", recipe);
    recipe.arithmetic = true;
    write("progressive-arithmetic.jpg", recipe);
    recipe = base;
    recipe.arithmetic = true;
    recipe.restartInterval = 1;
    write("arithmetic-restart.jpg", recipe);
    recipe = base;
    recipe.restartInterval = 1;
    write("restart.jpg", recipe);
    recipe = base;
    recipe.colour = Colour::Grey;
    recipe.density = JpegDensity { 2, 118, 118 };
    write("grey-density.jpg", recipe);
    recipe = base;
    recipe.colour = Colour::Cmyk;
    write("cmyk.jpg", recipe);
    recipe.colour = Colour::Ycck;
    write("ycck.jpg", recipe);
    recipe = base;
    recipe.app1 = { MakeExifBlock(0x0112, 6) };
    write("exif-orientation.jpg", recipe);
    return 0;
}
