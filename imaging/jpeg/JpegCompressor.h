// The libjpeg state of one JPEG encoder: the compression object with its error and destination
// managers. Kept out of PLJPEGEncoder.h so that libjpeg's macros do not reach every file that
// saves a picture.
#pragma once

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include "imaging/jpeg/JpegDestinationManager.h"
#include "imaging/jpeg/JpegErrorManager.h"

struct JpegCompressor {
    jpeg_compress_struct info {};
    JpegErrorManager errors {};
    JpegDestinationManager destination {};
};
