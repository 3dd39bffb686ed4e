// The BMP encoder: writes an uncompressed Windows bitmap file, rows bottom-up, each padded with zero
// bytes to a multiple of 4. 1- and 8-bpp pictures are written with their palette; 24- and 32-bpp
// pictures as 24-bit pixels (the fourth byte is dropped). Other depths are refused with the
// unsupported-feature code.
#pragma once

#include "imaging/codec/PLPicEncoder.h"

class PLBmpEncoder : public PLPicEncoder {
public:
    PLBmpEncoder() = default;

    void DoEncode(const PLBmp* bmp, PLDataSink* sink) override;
};
