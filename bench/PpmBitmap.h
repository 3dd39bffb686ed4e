#pragma once

// A binary PPM file read into a 32-bit bitmap, as the program holds every picture it works on.

#include "bench/PpmFile.h"
#include "imaging/bitmap/PLBmp.h"

namespace bench {

// Reads the P6 file at path into bmp (4-byte pixels, no alpha). False when the file cannot be read
// as a P6 picture or is cut short; the bitmap may then hold part of it.
inline bool ReadPpmBitmap(const char* path, PLBmp& bmp)
{
    auto input = PpmInput::Open(path);
    if (!input)
        return false;
    bmp.CreateForOverwrite(
        static_cast<int>(input->Width()), static_cast<int>(input->Height()), 32, false, false);
    return input->ReadRows(bmp.GetLineArray());
}

} // namespace bench
