// Decodes a BMP or PPM file (chosen by its extension) with the library's decoder into the 32-bit
// bitmap the program draws, as the image wrapper does, and writes nothing:
//   rasterdecode <input.bmp | input.ppm>
// The peer script times it beside Pillow and ImageMagick doing the same work.
#include <cstdio>
#include <memory>
#include <string>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLPPMDecoder.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rasterdecode <input.bmp | input.ppm>\n");
        return 2;
    }
    const std::string input = argv[1];
    const std::string extension = input.size() > 4 ? input.substr(input.size() - 4) : "";
    std::unique_ptr<PLPicDecoder> decoder;
    if (extension == ".bmp")
        decoder = std::make_unique<PLBmpDecoder>();
    else if (extension == ".ppm")
        decoder = std::make_unique<PLPPMDecoder>();
    else {
        std::fprintf(stderr, "rasterdecode: %s is neither .bmp nor .ppm\n", input.c_str());
        return 2;
    }
    PLWinBmp bmp;
    try {
        decoder->DecodeFile(input.c_str(), &bmp, 32);
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "rasterdecode: %s", e.GetText());
        return 1;
    }
    return bmp.GetWidth() > 0 ? 0 : 1;
}
