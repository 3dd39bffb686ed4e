#include "imaging/filters/PLFilterHSB.h"

#include "imaging/filters/HsvConversion.h"
#include "imaging/filters/PLColorFilterSupport.h"

#include <algorithm>

using namespace color_filter;

PLFilterHSB::PLFilterHSB(int hue, int saturation, int brightness)
    : m_Hue(hue)
    , m_Saturation(saturation)
    , m_Brightness(brightness)
{
}

void PLFilterHSB::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    RequireDepth(
        *pBmpSource, 24, 32, "The hue, saturation and brightness filter needs a 24- or 32-bpp bitmap.");
    CreateDestination(*pBmpSource, *pBmpDest, pBmpSource->GetWidth(), pBmpSource->GetHeight());
    ForEachPixel(*pBmpSource, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
        double c0 = in[2], c1 = in[1], c2 = in[0];
        RgbToHsv255(c0, c1, c2);
        c1 += m_Saturation;
        c0 = WrapHue255(c0 + m_Hue);
        c2 += m_Brightness;
        HsvToRgb255(c0, c1, c2);
        // Shift the three together into range before clamping, so the hue survives.
        const double low = std::min({ c0, c1, c2 });
        if (low < 0)
            c0 -= low, c1 -= low, c2 -= low;
        const double high = std::max({ c0, c1, c2 });
        if (high > 255)
            c0 -= high - 255, c1 -= high - 255, c2 -= high - 255;
        out[2] = ClampReal(c0);
        out[1] = ClampReal(c1);
        out[0] = ClampReal(c2);
    });
}
