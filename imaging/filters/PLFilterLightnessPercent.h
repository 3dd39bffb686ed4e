// Lightens or darkens the colour channels of a 32-bpp bitmap: by adding the amount, or by
// scaling with (amount / 100 + 1).
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterLightnessPercent : public PLFilter {
public:
    PLFilterLightnessPercent(int amount, bool additive);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_Amount;
    bool m_bAdditive;
};
