// Writes the seed corpus of the imaging_psd fuzz target: small PSD files of every colour mode,
// depth and compression, with resources and with layers.
//   g++ -std=c++20 -I tests fuzz/generators/imaging_psd_seeds.cpp -o build/psd-seeds
//   build/psd-seeds fuzz/corpus/imaging_psd
#include "imaging/psd/PsdWriter.h"

#include <fstream>
#include <string>

namespace {

using namespace psdwriter;

void write(const std::string& folder, const std::string& name, const Bytes& file)
{
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

Bytes Samples(int width, int height, int depth, int seed)
{
    Bytes samples;
    for (int i = 0; i < width * height * depth / 8; ++i)
        samples.push_back(static_cast<uint8_t>(i < 6 ? seed : i * 7 + seed));
    return samples;
}

Picture Small(int mode, int channels, int depth, int compression)
{
    Picture p;
    p.width = 9;
    p.height = 3;
    p.mode = mode;
    p.depth = depth;
    p.compression = compression;
    for (int c = 0; c < channels; ++c)
        p.merged.push_back(Samples(p.width, p.height, depth, c * 40));
    if (mode == 2)
        p.colourModeData = Samples(16, 16, 24, 3);
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 1;
    const std::string folder = argv[1];
    for (const int mode : { 1, 2, 3 })
        for (const int depth : { 8, 16 })
            for (const int compression : { 0, 1 }) {
                const int channels = mode == 3 ? 4 : 1;
                write(folder,
                    "mode" + std::to_string(mode) + "-" + std::to_string(depth) + "-"
                        + std::to_string(compression),
                    Write(Small(mode, channels, depth, compression)));
            }
    Picture resources = Small(3, 3, 8, 1);
    resources.resources = Resource(1000, "a", Bytes(3, 1));
    const Bytes resolution = ResolutionResource(300, 300);
    resources.resources.insert(resources.resources.end(), resolution.begin(), resolution.end());
    write(folder, "resources", Write(resources));
    Picture layered = Small(3, 3, 8, 1);
    layered.layers.push_back({ 0, 1, 2, 6,
        { { 0, Samples(5, 2, 8, 1) }, { 1, Samples(5, 2, 8, 2) }, { 2, Samples(5, 2, 8, 3) },
            { -1, Samples(5, 2, 8, 4) } } });
    layered.layers.push_back(
        { 1, 0, 3, 3, { { 2, Samples(3, 2, 8, 5) }, { -2, {} }, { 0, Samples(3, 2, 8, 6) } } });
    write(folder, "layers", Write(layered));
    Picture greyLayers = Small(1, 1, 16, 1);
    greyLayers.layers.push_back({ 0, 0, 2, 2, { { 0, Samples(2, 2, 16, 7) } } });
    write(folder, "grey-layer-16", Write(greyLayers));
    return 0;
}
