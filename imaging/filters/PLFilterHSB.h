// Offsets the hue, saturation and brightness of a 24- or 32-bpp bitmap, each on a 0 to 255 scale.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterHSB : public PLFilter {
public:
    PLFilterHSB(int hue, int saturation, int brightness);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    int m_Hue;
    int m_Saturation;
    int m_Brightness;
};
