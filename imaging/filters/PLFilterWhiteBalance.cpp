#include "imaging/filters/PLFilterWhiteBalance.h"

#include "imaging/filters/PLColorFilterSupport.h"

#include <cmath>

using namespace color_filter;

namespace {

bool InRange(int tonalRange, int sum)
{
    switch (tonalRange) {
    case 0:
        return true;
    case 1:
        return sum >= 512;
    case 2:
        return sum >= 256 && sum < 512;
    case 3:
        return sum < 256;
    default:
        return false;
    }
}

uint8_t Scaled(uint8_t channel, float gain)
{
    const float v = std::trunc(static_cast<float>(channel) * gain);
    return v > 255.0f ? 255 : static_cast<uint8_t>(v);
}

} // namespace

PLFilterWhiteBalance::PLFilterWhiteBalance(const PLCoord& greyPoint, int tonalRange)
    : m_GreyPoint(greyPoint)
    , m_TonalRange(tonalRange)
{
}

void PLFilterWhiteBalance::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    const PLBmp& src = *pBmpSource;
    RequireDepth(src, 32, 32, "The white balance filter needs a 32-bpp bitmap.");
    if (m_GreyPoint.x < 0 || m_GreyPoint.y < 0 || m_GreyPoint.x >= src.GetWidth()
        || m_GreyPoint.y >= src.GetHeight())
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "The grey point lies outside the picture.");
    CreateDestination(src, *pBmpDest, src.GetWidth(), src.GetHeight());

    const PLPixel32 grey = src.GetRow32(m_GreyPoint.y)[m_GreyPoint.x];
    const float r = grey.GetR() ? grey.GetR() : 1, g = grey.GetG() ? grey.GetG() : 1,
                b = grey.GetB() ? grey.GetB() : 1;
    const float mean = std::trunc((b + g + r) / 3.0f);
    const float gainR = mean / r, gainG = mean / g, gainB = mean / b;
    ForEachPixel(src, *pBmpDest, [&](const uint8_t* in, uint8_t* out) {
        if (InRange(m_TonalRange, in[0] + in[1] + in[2])) {
            out[0] = Scaled(in[0], gainB);
            out[1] = Scaled(in[1], gainG);
            out[2] = Scaled(in[2], gainR);
        } else {
            out[0] = in[0], out[1] = in[1], out[2] = in[2];
        }
    });
}
