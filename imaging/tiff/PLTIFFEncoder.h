// The TIFF encoder: libtiff writes the file into memory (TiffMemoryClient), which is then handed to
// the sink whole. 1-bpp pictures are written bilevel, 8-bpp pictures with their palette as colour
// map, 24- and 32-bpp pictures as RGB, or RGB with unassociated alpha when they carry alpha.
// PackBits by default; any compression that libtiff was built with can be set. Other depths are
// refused with the unsupported-feature code.
#pragma once

#include <cstdint>

#include "imaging/codec/PLPicEncoder.h"

struct tiff;

class PLTIFFEncoder : public PLPicEncoder {
public:
    static constexpr uint16_t kPackBits = 32773;

    PLTIFFEncoder() = default;

    void DoEncode(const PLBmp* bmp, PLDataSink* sink) override;

    // A TIFF compression code (1 none, 5 LZW, 8 Deflate, 32773 PackBits, ...). A code libtiff cannot
    // write fails the next encoding with the unsupported-feature code.
    void SetCompression(uint16_t compression) { m_Compression = compression; }

protected:
    // Writes the pixel rows (and the colour map) after the base tags.
    virtual void WriteImageData(const PLBmp* bmp, tiff* handle);

private:
    uint16_t m_Compression = kPackBits;
};
