#include "imaging/filters/PLFilterCrop.h"

#include "imaging/bitmap/PLPixelCopy.h"
#include "imaging/io/PLTextException.h"

PLFilterCrop::PLFilterCrop(int x1, int y1, int x2, int y2)
    : m_XMin(x1)
    , m_YMin(y1)
    , m_XMax(x2)
    , m_YMax(y2)
{
}

PLFilterCrop::~PLFilterCrop() = default;

void PLFilterCrop::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    const PLBmp& src = *pBmpSource;
    if (m_XMin < 0 || m_YMin < 0 || m_XMin > m_XMax || m_YMin > m_YMax || m_XMax > src.GetWidth()
        || m_YMax > src.GetHeight())
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Crop rectangle outside the picture.");
    const int bpp = src.GetBitsPerPixel();
    CreateDestination(src, *pBmpDest, m_XMax - m_XMin, m_YMax - m_YMin);
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    for (int y = m_YMin; y < m_YMax; ++y)
        PLPixelCopy::CopyPixels(src.GetRow(y), m_XMin, pBmpDest->GetRow(y - m_YMin), 0, m_XMax - m_XMin, bpp);
    pBmpDest->CopyPaletteFrom(src);
}
