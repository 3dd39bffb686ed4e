// The PNG encoder over libpng: 1- and 8-bpp pictures are written as palette PNGs from their own
// palette, 24-bpp pictures as RGB, 32-bpp pictures as RGB, or RGBA when they carry alpha. The
// resolution goes into pHYs, the zlib level is the encoder's (0, stored, by default). Other depths
// are refused with the unsupported-feature code.
#pragma once

#include "imaging/codec/PLPicEncoder.h"

class PLPNGEncoder : public PLPicEncoder {
public:
    PLPNGEncoder() = default;

    void DoEncode(const PLBmp* bmp, PLDataSink* sink) override;

    // zlib's level, brought into -1 (zlib's default) to 9.
    void SetCompressionLevel(int level) { m_CompressionLevel = level; }

private:
    int m_CompressionLevel = 0;
};
