// The libjpeg state of one JPEG decoder: the decompression object with its error, source and
// progress managers. Kept out of PLJPEGDecoder.h so that libjpeg's macros (TRUE, FALSE and the
// like) do not reach every file that decodes a picture.
#pragma once

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include "imaging/jpeg/JpegErrorManager.h"
#include "imaging/jpeg/JpegPixels.h"
#include "imaging/jpeg/JpegSourceManager.h"

struct JpegDecompressor {
    jpeg_decompress_struct info {};
    JpegErrorManager errors {};
    JpegSourceManager source {};
    JpegPixelKind kind = JpegPixelKind::Colour;
};
