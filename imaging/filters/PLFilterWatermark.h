// Darkens a picture under a centred watermark: the darker a watermark pixel, the more the picture
// beneath it loses, down to 255 / divisor for black. The result is 32 bpp.
#pragma once

#include "imaging/filters/PLFilter.h"

#include <cstdint>

class PLFilterWatermark : public PLFilter {
public:
    // The watermark stays the caller's; it must be 32 bpp, and the divisor must not be 0.
    PLFilterWatermark(int divisor, PLBmp* pWatermark);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    uint32_t m_Divisor;
    PLBmp* m_pWatermark;
};
