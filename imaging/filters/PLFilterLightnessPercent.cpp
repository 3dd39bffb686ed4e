#include "imaging/filters/PLFilterLightnessPercent.h"

#include "imaging/filters/PLColorFilterSupport.h"

using namespace color_filter;

PLFilterLightnessPercent::PLFilterLightnessPercent(int amount, bool additive)
    : m_Amount(amount)
    , m_bAdditive(additive)
{
}

void PLFilterLightnessPercent::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    RequireDepth(*pBmpSource, 32, 32, "The lightness filter needs a 32-bpp bitmap.");
    CreateDestination(*pBmpSource, *pBmpDest, pBmpSource->GetWidth(), pBmpSource->GetHeight());
    const double amount = m_Amount;
    const double factor = amount / 100.0 + 1;
    ForEachPixel(*pBmpSource, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
        for (int c = 0; c < 3; ++c)
            out[c] = ClampReal(m_bAdditive ? in[c] + amount : in[c] * factor);
    });
}
