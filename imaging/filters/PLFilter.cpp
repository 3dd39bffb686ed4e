#include "imaging/filters/PLFilter.h"

#include "imaging/bitmap/PLBmp.h"

#include <memory>

void PLFilter::ApplyToBitmap(PLBmp* pBmp) const
{
    // Filtered into a scratch bitmap of the same class, whose picture is then moved in.
    const std::unique_ptr<PLBmp> result = pBmp->CreateOfSameKind();
    Apply(pBmp, result.get());
    pBmp->SwapPicture(*result);
}

void PLFilter::Apply(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    if (pBmpSource == pBmpDest)
        ApplyToBitmap(pBmpDest);
    else
        ApplyDistinct(pBmpSource, pBmpDest);
}

void PLFilter::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    pBmpDest->CreateCopy(*pBmpSource, 0);
    ApplyToBitmap(pBmpDest);
}

void PLFilter::CreateDestination(const PLBmp& source, PLBmp& dest, int width, int height)
{
    dest.CreateForOverwrite(width, height, source.GetBitsPerPixel(), source.HasAlpha(), source.IsGreyscale(),
        source.GetResolution());
}

// The bitmap's own entry points to filtering; defined here so that the bitmaps depend on no filter.
void PLBmp::CreateFilteredCopy(PLBmp& src, const PLFilter& filter)
{
    filter.Apply(&src, this);
}

void PLBmp::ApplyFilter(const PLFilter& filter)
{
    filter.ApplyToBitmap(this);
}
