// Adds offsets to the red, green and blue channels of a 32-bpp bitmap, plainly or balanced.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterColor : public PLFilter {
public:
    PLFilterColor(int red, int green, int blue, bool balanced);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_Red;
    int m_Green;
    int m_Blue;
    bool m_bBalanced;
};
