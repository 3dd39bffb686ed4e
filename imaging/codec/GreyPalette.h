// The grey ramp of a picture whose samples are grey levels of `bits` bits (1 to 8), as the PNG, TIFF
// and PSD decoders give their greyscale bitmaps.
#pragma once

#include "imaging/bitmap/PLPixel32.h"

#include <vector>

// 2^bits entries, entry i = i x 255 / (2^bits - 1) in integer steps, alpha 255; rising, or falling
// (white first) for pictures whose 0 is white.
std::vector<PLPixel32> GreyPalette(int bits, bool minIsWhite = false);
