// Decodes a JPEG file with the library's decoder, as the image wrapper does (32 bits per pixel,
// float inverse DCT, no fancy upsampling), and writes the picture as PPM, or nothing when the
// output is "-":
//   jpegdecode <input.jpg> <output.ppm | ->
// The peer script times it beside djpeg and vips doing the same work.
#include <cstdio>
#include <cstring>

#include "bench/PpmFile.h"
#include "imaging/PLJPEGDecoder.h"
#include "imaging/PLTextException.h"
#include "imaging/PLWinBmp.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: jpegdecode <input.jpg> <output.ppm | ->\n");
        return 2;
    }
    PLWinBmp bmp;
    try {
        PLJPEGDecoder decoder;
        decoder.DecodeFile(argv[1], &bmp, 32);
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "jpegdecode: %s", e.GetText());
        return 1;
    }
    if (std::strcmp(argv[2], "-") != 0
        && !bench::WritePpm(argv[2], bmp.GetWidth(), bmp.GetHeight(), bmp.GetLineArray())) {
        std::fprintf(stderr, "jpegdecode: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
