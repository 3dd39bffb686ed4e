// Writes the seed corpus of the imaging_iff fuzz target: small ILBM files at 1 to 8 planes, masked,
// with a transparent colour, hold-and-modify at 6 and 8 planes, deep at 24 and 32 planes, and PBM,
// each plain and byte-run packed.
//   g++ -std=c++20 -I tests fuzz/generators/imaging_iff_seeds.cpp -o build/iff-seeds
//   build/iff-seeds fuzz/corpus/imaging_iff
#include "imaging/iff/IlbmWriter.h"

#include <fstream>
#include <string>

namespace {

using namespace ilbmwriter;

void write(const std::string& folder, const std::string& name, const Bytes& file)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

Picture Small(int planes, int compression, int colours)
{
    Picture p;
    p.width = 11;
    p.height = 3;
    p.planes = planes;
    p.compression = compression;
    for (int i = 0; i < p.width * p.height; ++i)
        p.pixels.push_back(uint32_t(i < 4 ? 1 : i * 0x010305 + 7) & uint32_t((int64_t(1) << planes) - 1));
    for (int i = 0; i < colours * 3; ++i)
        p.colourMap.push_back(static_cast<uint8_t>(i * 37));
    p.noColourMap = colours == 0;
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const std::string folder = argv[1];
    for (const int compression : { 0, 1 }) {
        const std::string c = "-" + std::to_string(compression);
        for (const int planes : { 1, 2, 4, 5, 8 })
            write(
                folder, "ilbm" + std::to_string(planes) + c, Write(Small(planes, compression, 1 << planes)));
        Picture masked = Small(3, compression, 8);
        masked.masking = 1;
        masked.mask.assign(33, 1);
        write(folder, "masked" + c, Write(masked));
        Picture transparent = Small(4, compression, 16);
        transparent.masking = 2;
        transparent.transparentColour = 1;
        write(folder, "transparent" + c, Write(transparent));
        for (const int planes : { 6, 8 }) {
            Picture ham = Small(planes, compression, 1 << (planes - 2));
            ham.viewportMode = 0x800;
            write(folder, "ham" + std::to_string(planes) + c, Write(ham));
        }
        for (const int planes : { 24, 32 })
            write(folder, "deep" + std::to_string(planes) + c, Write(Small(planes, compression, 0)));
        Picture pbm = Small(8, compression, 256);
        pbm.chunky = true;
        write(folder, "pbm" + c, Write(pbm));
    }
    return 0;
}
