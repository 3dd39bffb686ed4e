// Converts a 32-bpp bitmap into an 8-bpp grey one with the grey palette.
#pragma once

#include "imaging/filters/PLFilter.h"

class PLFilterGrayscale : public PLFilter {
public:
    PLFilterGrayscale() = default;

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;
};
