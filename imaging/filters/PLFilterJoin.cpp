#include "imaging/filters/PLFilterJoin.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLPixelCopy.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>

PLFilterJoin::PLFilterJoin(int mode, PLBmp* other)
    : m_Mode(mode)
    , m_pOther(other)
{
}

PLFilterJoin::~PLFilterJoin() = default;

void PLFilterJoin::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    if (m_Mode != PLJOIN_OTHER_LEFT && m_Mode != PLJOIN_OTHER_RIGHT)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Unknown join mode.");
    if (!m_pOther || m_pOther->GetBitsPerPixel() != pBmpSource->GetBitsPerPixel())
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Joined bitmaps differ in depth.");
    if (m_pOther == pBmpDest) {
        // The destination is re-created first, so the other bitmap is read from a copy.
        PLAnyBmp copy;
        copy.CreateCopy(*m_pOther, 0);
        PLFilterJoin(m_Mode, &copy).Apply(pBmpSource, pBmpDest);
        return;
    }
    const PLBmp& src = *pBmpSource;
    const PLBmp& other = *m_pOther;
    const int bpp = src.GetBitsPerPixel();
    // The taller one is cut to the lower height, centred; the odd row falls to the bottom.
    const int height = std::min(src.GetHeight(), other.GetHeight());
    const int srcFirst = (src.GetHeight() - height) / 2;
    const int otherFirst = (other.GetHeight() - height) / 2;
    const int width1 = src.GetWidth();
    const int width2 = other.GetWidth();
    CreateDestination(src, *pBmpDest, width1 + width2, height);
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockOther(other, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    const bool otherLeft = m_Mode == PLJOIN_OTHER_LEFT;
    for (int y = 0; y < height; ++y) {
        uint8_t* out = pBmpDest->GetRow(y);
        PLPixelCopy::CopyPixels(src.GetRow(srcFirst + y), 0, out, otherLeft ? width2 : 0, width1, bpp);
        PLPixelCopy::CopyPixels(other.GetRow(otherFirst + y), 0, out, otherLeft ? 0 : width1, width2, bpp);
    }
    pBmpDest->CopyPaletteFrom(src);
}
