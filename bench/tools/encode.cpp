// Encodes a PPM picture with one of the library's encoders, as the image wrapper saves a picture (a
// 32-bit bitmap written to a named file through the file sink); JPEG has a tool of its own,
// `jpegencode`, that loads only libjpeg:
//   encode png <zlib level> <input.ppm> <output.png>   libpng's default (adaptive) filters
//   encode tiff <compression> <input.ppm> <output.tif> TIFF compression code (1 none, 32773 PackBits)
//   encode none 0 <input.ppm> -                        only reads the picture into the bitmap
// The peer scripts time it beside pnmtopng and pnmtotiff doing the same work.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "bench/PpmBitmap.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/png/PLPNGEncoder.h"
#include "imaging/tiff/PLTIFFEncoder.h"

int main(int argc, char** argv)
{
    const std::string_view format = argc == 5 ? argv[1] : "";
    if (format != "png" && format != "tiff" && format != "none") {
        std::fprintf(stderr, "usage: encode png|tiff|none <level or compression> <input.ppm> <output>\n");
        return 2;
    }
    const int setting = std::atoi(argv[2]);
    try {
        PLWinBmp bmp;
        if (!bench::ReadPpmBitmap(argv[3], bmp)) {
            std::fprintf(stderr, "encode: cannot read %s\n", argv[3]);
            return 1;
        }
        if (format == "png") {
            PLPNGEncoder encoder;
            encoder.SetCompressionLevel(setting);
            encoder.EncodeFile(argv[4], &bmp);
        } else if (format == "tiff") {
            PLTIFFEncoder encoder;
            encoder.SetCompression(static_cast<uint16_t>(setting));
            encoder.EncodeFile(argv[4], &bmp);
        }
    } catch (const PLTextException& e) {
        std::fprintf(stderr, "encode: %s", e.GetText());
        return 1;
    }
    return 0;
}
