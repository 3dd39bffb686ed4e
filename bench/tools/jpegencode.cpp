// Encodes a PPM picture as JPEG with the library's encoder, as the image wrapper saves a picture (a
// 32-bit bitmap written to a named file through the file sink; float DCT, baseline tables, 4:2:0,
// no optimised coding):
//   jpegencode <quality> <input.ppm> <output.jpg>
// A tool of its own, apart from `encode`, so that it loads only libjpeg, as cjpeg does, and not the
// PNG and TIFF libraries with theirs. The peer script times it beside cjpeg doing the same work.
#include <cstdio>
#include <cstdlib>

#include "bench/PpmBitmap.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGEncoder.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: jpegencode <quality> <input.ppm> <output.jpg>\n");
        return 2;
    }
    try {
        PLWinBmp bmp;
        if (!bench::ReadPpmBitmap(argv[2], bmp)) {
            std::fprintf(stderr, "jpegencode: cannot read %s\n", argv[2]);
            return 1;
        }
        PLJPEGEncoder encoder;
        encoder.SetQuality(std::atoi(argv[1]));
        encoder.EncodeFile(argv[3], &bmp);
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "jpegencode: %s", e.GetText());
        return 1;
    }
    return 0;
}
