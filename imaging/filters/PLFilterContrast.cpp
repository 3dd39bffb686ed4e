#include "imaging/filters/PLFilterContrast.h"

#include "imaging/filters/PLColorFilterSupport.h"

#include <cmath>

using namespace color_filter;

PLFilterContrast::PLFilterContrast(double contrast, uint8_t offset)
    : m_Contrast(contrast)
    , m_Offset(static_cast<double>(offset) - 128)
{
}

void PLFilterContrast::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    RequireDepth(*pBmpSource, 24, 32, "The contrast filter needs a 24- or 32-bpp bitmap.");
    // Not a number or an infinite factor would turn every channel into 0 through 0 x inf or inf - inf.
    if (!std::isfinite(m_Contrast))
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "The contrast factor must be a finite number.");
    CreateDestination(*pBmpSource, *pBmpDest, pBmpSource->GetWidth(), pBmpSource->GetHeight());
    const double bias = (m_Offset - 128) * m_Contrast + 128;
    ForEachPixel(*pBmpSource, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
        for (int c = 0; c < 3; ++c)
            out[c] = ClampReal(in[c] * m_Contrast + bias);
    });
}
