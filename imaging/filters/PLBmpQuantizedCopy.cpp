// The conversion of any picture to 8 bits per pixel goes through the quantizer, so it lives with the
// filters rather than with the bitmaps, which know no filter.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLFilterQuantize.h"

void PLBmp::ConvertTo8Bpp(const PLBmp& src)
{
    // The quantizer works on 32-bit pixels; a 24-bit or 8-bit source is widened first.
    PLFilterQuantize quantizer(m_PaletteType, m_DitherType);
    if (src.m_bpp == 32) {
        // The quantizer only reads its source.
        quantizer.Apply(const_cast<PLBmp*>(&src), this);
    } else {
        PLAnyBmp wide;
        wide.CreateCopy(src, 32);
        quantizer.Apply(&wide, this);
    }
}
