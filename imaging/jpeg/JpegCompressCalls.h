// The libjpeg calls of the encoder, each behind its own setjmp: a fatal libjpeg error jumps back
// here and the call returns false, with the message in the error manager (JpegErrorManager.h).
// Nothing between the setjmp and libjpeg holds an object with a destructor, so the jump skips no
// C++ cleanup; the caller throws on our side of the boundary.
#pragma once

#include <cstddef>
#include <cstdint>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first

#include <jpeglib.h>

struct JpegCompressSettings {
    JDIMENSION width;
    JDIMENSION height;
    int components;
    J_COLOR_SPACE colourSpace;
    int quality; // 0 keeps libjpeg's default tables
    bool optimizeCoding;
    int smoothing; // 0 to 100
    UINT8 densityUnit; // 0 aspect only, 1 dots per inch
    UINT16 xDensity; // 0 keeps libjpeg's default of 1
    UINT16 yDensity;
    const uint8_t* app1; // an APP1 segment's data written after the headers, or null
    size_t app1Size;
};

// Sets the parameters up, starts the compression and writes the APP1 segment.
bool JpegGuardedStartCompress(jpeg_compress_struct* cinfo, const JpegCompressSettings& settings);
// Writes rows[0 .. count - 1], up to 32 rows a call, while libjpeg takes them.
bool JpegGuardedWriteRows(jpeg_compress_struct* cinfo, uint8_t* const* rows, JDIMENSION count);
bool JpegGuardedFinishCompress(jpeg_compress_struct* cinfo);
