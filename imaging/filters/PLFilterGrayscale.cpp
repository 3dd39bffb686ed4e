#include "imaging/filters/PLFilterGrayscale.h"

#include "imaging/filters/PLColorFilterSupport.h"

using namespace color_filter;

void PLFilterGrayscale::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    RequireDepth(*pBmpSource, 32, 32, "The grey conversion needs a 32-bpp bitmap.");
    const PLBmp& src = *pBmpSource;
    pBmpDest->Create(src.GetWidth(), src.GetHeight(), 8, false, true, nullptr, 0, src.GetResolution());
    PLBmpLock readLock(src, true, false);
    PLBmpLock writeLock(*pBmpDest, false, true);
    for (int y = 0; y < src.GetHeight(); ++y) {
        const PLPixel32* in = src.GetRow32(y);
        uint8_t* out = pBmpDest->GetRow(y);
        for (int x = 0; x < src.GetWidth(); ++x) {
            // Summed in this order; the truncation makes some greys come out one lower.
            const double grey = in[x].GetG() * 0.71516 + in[x].GetR() * 0.212671 + in[x].GetB() * 0.072169;
            out[x] = ClampReal(grey);
        }
    }
}
