#include "imaging/filters/PLFilterWatermark.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/filters/PLColorFilterSupport.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/resize/FitSizeKeepAspect.h"

#include <algorithm>

using namespace color_filter;

PLFilterWatermark::PLFilterWatermark(int divisor, PLBmp* pWatermark)
    : m_Divisor(static_cast<uint32_t>(divisor))
    , m_pWatermark(pWatermark)
{
}

void PLFilterWatermark::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    if (m_Divisor == 0)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "The watermark divisor must not be 0.");
    if (!m_pWatermark)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "No watermark bitmap was given.");
    RequireDepth(*m_pWatermark, 32, 32, "The watermark must be a 32-bpp bitmap.");

    // The watermark is read where it is. A bitmap of the filter's own holds it only when it must be
    // shrunk to fit the picture, or when it is the destination, which is re-created below.
    PLAnyBmp own;
    PLBmp* mark = m_pWatermark;
    if (mark == pBmpDest) {
        own.CreateCopy(*mark, 0);
        mark = &own;
    }
    const int width = pBmpSource->GetWidth(), height = pBmpSource->GetHeight();
    if (mark->GetWidth() > width || mark->GetHeight() > height) {
        int fitWidth = 0, fitHeight = 0;
        FitSizeKeepAspect(mark->GetWidth(), mark->GetHeight(), width, height, fitWidth, fitHeight);
        PLFilterResizeBilinear(fitWidth, fitHeight).Apply(mark, &own);
        mark = &own;
    }
    pBmpDest->CreateCopy(*pBmpSource, 32);

    const int w = std::min(mark->GetWidth(), width), h = std::min(mark->GetHeight(), height);
    const int x0 = width > w ? (width - w) / 2 : 0;
    const int y0 = height > h ? (height - h) / 2 : 0;
    PLBmpLock readLock(*mark, true, false);
    PLBmpLock writeLock(*pBmpDest, false, true);
    for (int y = 0; y < h; ++y) {
        const PLPixel32* in = mark->GetRow32(y);
        uint8_t* out = pBmpDest->GetRow(y0 + y) + x0 * 4;
        for (int x = 0; x < w; ++x, out += 4) {
            const uint32_t lightness = (in[x].GetG() * 183u + in[x].GetR() * 54u + in[x].GetB() * 19u) / 256;
            const uint32_t darken = (255 - lightness) / m_Divisor;
            for (int c = 0; c < 3; ++c)
                out[c] = static_cast<uint8_t>(out[c] > darken ? out[c] - darken : 0);
        }
    }
}
