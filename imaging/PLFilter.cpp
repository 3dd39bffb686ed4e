#include "imaging/PLFilter.h"

#include "imaging/PLAnyBmp.h"

void PLFilter::ApplyToBitmap(PLBmp* pBmp) const
{
    PLAnyBmp temp;
    Apply(pBmp, &temp);
    pBmp->CreateCopy(temp, 0);
}

void PLFilter::Apply(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    if (pBmpSource != pBmpDest)
        pBmpDest->CreateCopy(*pBmpSource, 0);
    ApplyToBitmap(pBmpDest);
}
