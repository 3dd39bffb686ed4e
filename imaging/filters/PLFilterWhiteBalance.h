// Balances the colours of a 32-bpp bitmap so that the pixel at the grey point becomes neutral,
// over all pixels or only the highlights, mid-tones or shadows.
#pragma once

#include "imaging/bitmap/PLCoord.h"
#include "imaging/filters/PLFilter.h"

class PLFilterWhiteBalance : public PLFilter {
public:
    // Tonal range: 0 all pixels, 1 highlights, 2 mid-tones, 3 shadows (another value changes nothing).
    // The grey point must lie inside the picture.
    PLFilterWhiteBalance(const PLCoord& greyPoint, int tonalRange);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    PLCoord m_GreyPoint;
    int m_TonalRange;
};
