// Stretches or flattens the colour channels of a 24- or 32-bpp bitmap about a centre:
// each channel c becomes (c + centre - 256) x factor + 128, clamped.
#pragma once

#include "imaging/filters/PLFilter.h"

#include <cstdint>

class PLFilterContrast : public PLFilter {
public:
    // A factor that is not a finite number is refused when the filter is applied.
    PLFilterContrast(double contrast, uint8_t offset);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    double m_Contrast;
    double m_Offset; // the centre minus 128
};
