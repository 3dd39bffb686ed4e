// Fills a rectangle of a bitmap with one colour, in place: the pixels of the rows y1 .. y2 - 1 and
// the columns x1 .. x2 - 1, the rectangle first clipped to the bitmap. A template over the pixel
// type (used with PLPixel32); the bitmap's depth must be that pixel's.
#pragma once

#include <algorithm>
#include <cstdint>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLFilter.h"
#include "imaging/io/PLTextException.h"

template <class Pixel> class PLFilterFillRect : public PLFilter {
public:
    PLFilterFillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Pixel& colour)
        : m_X1(x1)
        , m_Y1(y1)
        , m_X2(x2)
        , m_Y2(y2)
        , m_Colour(colour)
    {
    }

    // A bitmap of another depth raises the unsupported-feature code and is left as it was.
    void ApplyToBitmap(PLBmp* pBmp) const override
    {
        if (pBmp->GetBitsPerPixel() != static_cast<int>(sizeof(Pixel) * 8))
            throw PLTextException(
                PL_ERR_FORMAT_NOT_SUPPORTED, "The fill colour does not match the bitmap's depth.");
        const int32_t x1 = std::max(m_X1, 0);
        const int32_t y1 = std::max(m_Y1, 0);
        const int32_t x2 = std::min(m_X2, pBmp->GetWidth());
        const int32_t y2 = std::min(m_Y2, pBmp->GetHeight());
        if (x1 >= x2 || y1 >= y2)
            return;
        PLBmpLock lock(*pBmp, false, true);
        for (int32_t y = y1; y < y2; ++y) {
            Pixel* row = reinterpret_cast<Pixel*>(pBmp->GetRow(y));
            std::fill(row + x1, row + x2, m_Colour);
        }
    }

private:
    int32_t m_X1;
    int32_t m_Y1;
    int32_t m_X2;
    int32_t m_Y2;
    Pixel m_Colour;
};
