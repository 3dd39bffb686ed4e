#include "imaging/filters/PLFilterResize.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"
#include "imaging/resize/C2PassScale.h"
#include "imaging/resize/PLContribDef.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

void CheckRadius(double radius)
{
    if (!std::isfinite(radius) || radius <= 0)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Resize radius must be a number above 0.");
}

} // namespace

PLFilterResize::PLFilterResize(int newWidth, int newHeight)
    : m_NewXSize(newWidth)
    , m_NewYSize(newHeight)
{
}

void PLFilterResize::Resize(PLBmp* pBmpSource, PLBmp* pBmpDest, const PLContribDef& kernel) const
{
    if (pBmpSource->GetBitsPerPixel() != 32)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Resizing needs a 32-bpp bitmap.");
    // The scaler writes every destination pixel whenever both pictures have pixels, so the new
    // picture need not be made opaque black first; without pixels on either side it stays blank.
    const bool scaled
        = m_NewXSize > 0 && m_NewYSize > 0 && pBmpSource->GetWidth() > 0 && pBmpSource->GetHeight() > 0;
    if (scaled)
        pBmpDest->CreateForOverwrite(m_NewXSize, m_NewYSize, 32, pBmpSource->HasAlpha(),
            pBmpSource->IsGreyscale(), pBmpSource->GetResolution());
    else
        pBmpDest->Create(m_NewXSize, m_NewYSize, 32, pBmpSource->HasAlpha(), pBmpSource->IsGreyscale(),
            nullptr, 0, pBmpSource->GetResolution());
    PLBmpLock readLock(*pBmpSource, true, false);
    PLBmpLock writeLock(*pBmpDest, false, true);
    try {
        C2PassScale<CDataRGBA_UBYTE>(kernel).Run(pBmpSource->GetLineArray(), pBmpSource->GetWidth(),
            pBmpSource->GetHeight(), pBmpDest->GetLineArray(), m_NewXSize, m_NewYSize);
    } catch (const std::bad_alloc&) {
        // The scaler allocates everything before it writes a row: the picture is still untouched,
        // and is left opaque black like any new one.
        for (int y = 0; y < pBmpDest->GetHeight(); ++y)
            std::fill_n(pBmpDest->GetRow32(y), pBmpDest->GetWidth(), PLPixel32(0, 0, 0, 255));
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory resizing bitmap.");
    }
}

void PLFilterResizeBilinear::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    Resize(pBmpSource, pBmpDest, PLBilinearContribDef(0.64));
}

void PLFilterResizeBox::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    Resize(pBmpSource, pBmpDest, PLBoxContribDef(0.5));
}

PLFilterResizeGaussian::PLFilterResizeGaussian(int newWidth, int newHeight, double radius)
    : PLFilterResize(newWidth, newHeight)
    , m_NewRadius(radius)
{
}

void PLFilterResizeGaussian::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    CheckRadius(m_NewRadius);
    Resize(pBmpSource, pBmpDest, PLGaussianContribDef(m_NewRadius));
}

PLFilterResizeHamming::PLFilterResizeHamming(int newWidth, int newHeight, double radius)
    : PLFilterResize(newWidth, newHeight)
    , m_NewRadius(radius)
{
}

void PLFilterResizeHamming::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    CheckRadius(m_NewRadius);
    Resize(pBmpSource, pBmpDest, PLHammingContribDef(m_NewRadius));
}
