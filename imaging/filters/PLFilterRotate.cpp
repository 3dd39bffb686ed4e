#include "imaging/filters/PLFilterRotate.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLRotateKernels.h"
#include "imaging/io/PLTextException.h"

PLFilterRotate::PLFilterRotate(int mode)
    : m_Mode(mode)
{
}

PLFilterRotate::~PLFilterRotate() = default;

void PLFilterRotate::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    if (m_Mode != PLROTATE_90 && m_Mode != PLROTATE_180 && m_Mode != PLROTATE_270)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Unknown rotation mode.");
    const PLBmp& src = *pBmpSource;
    const bool quarter = m_Mode != PLROTATE_180;
    CreateDestination(src, *pBmpDest, quarter ? src.GetHeight() : src.GetWidth(),
        quarter ? src.GetWidth() : src.GetHeight());
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    PLRotateKernels::RotateTiled(src, *pBmpDest, m_Mode);
    pBmpDest->CopyPaletteFrom(src);
}
