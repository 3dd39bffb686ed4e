#include "imaging/filters/PLFilterMirror.h"

#include "imaging/bitmap/PLPixelCopy.h"

PLFilterMirror::PLFilterMirror() = default;

PLFilterMirror::~PLFilterMirror() = default;

void PLFilterMirror::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    const PLBmp& src = *pBmpSource;
    const int width = src.GetWidth();
    const int bpp = src.GetBitsPerPixel();
    CreateDestination(src, *pBmpDest, width, src.GetHeight());
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    for (int y = 0; y < src.GetHeight(); ++y) {
        const uint8_t* in = src.GetRow(y);
        uint8_t* out = pBmpDest->GetRow(y);
        for (int x = 0; x < width; ++x)
            PLPixelCopy::CopyPixel(in, x, out, width - 1 - x, bpp);
    }
    pBmpDest->CopyPaletteFrom(src);
}
