// The libjpeg calls of the decoder, each behind its own setjmp: a fatal libjpeg error jumps back
// here and the call returns false, with the message in the error manager (JpegErrorManager.h).
// Nothing between the setjmp and libjpeg holds an object with a destructor, so the jump skips no
// C++ cleanup; the caller throws on our side of the boundary.
#pragma once

#include <cstdint>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

#include "imaging/jpeg/JpegPixels.h"

// Keeps the APP1 segments and reads the header (a picture is required).
bool JpegGuardedReadHeader(jpeg_decompress_struct* cinfo);
bool JpegGuardedStartDecompress(jpeg_decompress_struct* cinfo);

// Reads every output row into rows[0 .. output_height - 1], up to 32 rows a call, converting CMYK
// rows in place. Rows that libjpeg did not deliver are cleared (ClearMissingRow).
bool JpegGuardedReadImage(jpeg_decompress_struct* cinfo, uint8_t* const* rows, JpegPixelKind kind);

bool JpegGuardedFinishDecompress(jpeg_decompress_struct* cinfo);
