#include "imaging/filters/PLFilterColor.h"

#include "imaging/filters/PLColorFilterSupport.h"
#include "platform/win/IntArithmetic.h"

using namespace color_filter;

PLFilterColor::PLFilterColor(int red, int green, int blue, bool balanced)
    : m_Red(red)
    , m_Green(green)
    , m_Blue(blue)
    , m_bBalanced(balanced)
{
}

void PLFilterColor::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    RequireDepth(*pBmpSource, 32, 32, "The colour filter needs a 32-bpp bitmap.");
    CreateDestination(*pBmpSource, *pBmpDest, pBmpSource->GetWidth(), pBmpSource->GetHeight());
    const int64_t r = m_Red, g = m_Green, b = m_Blue;
    if (!m_bBalanced) {
        ForEachPixel(*pBmpSource, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
            out[0] = win::ClampToByte(in[0] + b);
            out[1] = win::ClampToByte(in[1] + g);
            out[2] = win::ClampToByte(in[2] + r);
        });
        return;
    }
    // Half of each offset is applied; then every channel gives back half of what the other two
    // actually changed, so that the overall brightness moves less.
    ForEachPixel(*pBmpSource, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
        const int64_t h = win::ClampToByte(in[2] + r / 2), l = win::ClampToByte(in[1] + g / 2),
                      m = win::ClampToByte(in[0] + b / 2);
        const int64_t dR = h - in[2], dG = l - in[1], dB = m - in[0];
        out[2] = win::ClampToByte(h - dB / 2 - dG / 2);
        out[1] = win::ClampToByte(l - dR / 2 - dB / 2);
        out[0] = win::ClampToByte(m - dR / 2 - dG / 2);
    });
}
