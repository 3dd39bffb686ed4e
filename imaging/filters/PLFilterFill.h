// Fills a whole bitmap with one colour, in place. A template over the pixel type (used with
// PLPixel32); the bitmap's depth must be that pixel's.
#pragma once

#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLFilter.h"
#include "imaging/filters/PLFilterFillRect.h"

template <class Pixel> class PLFilterFill : public PLFilter {
public:
    explicit PLFilterFill(const Pixel& colour)
        : m_Colour(colour)
    {
    }

    // A bitmap of another depth raises the unsupported-feature code and is left as it was.
    void ApplyToBitmap(PLBmp* pBmp) const override
    {
        PLFilterFillRect<Pixel>(0, 0, pBmp->GetWidth(), pBmp->GetHeight(), m_Colour).ApplyToBitmap(pBmp);
    }

private:
    Pixel m_Colour;
};
