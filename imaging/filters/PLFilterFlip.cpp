#include "imaging/filters/PLFilterFlip.h"

#include "imaging/bitmap/PLBmp.h"

#include <cstring>

PLFilterFlip::PLFilterFlip() = default;

PLFilterFlip::~PLFilterFlip() = default;

void PLFilterFlip::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    const PLBmp& src = *pBmpSource;
    const int height = src.GetHeight();
    CreateDestination(src, *pBmpDest, src.GetWidth(), height);
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    const auto rowBytes = static_cast<size_t>(PLBmp::UnpaddedRowBytes(src.GetWidth(), src.GetBitsPerPixel()));
    for (int y = 0; y < height; ++y)
        std::memcpy(pBmpDest->GetRow(height - 1 - y), src.GetRow(y), rowBytes);
    pBmpDest->CopyPaletteFrom(src);
}
