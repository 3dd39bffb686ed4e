// A rectangle as its top-left and bottom-right corners; right and bottom are exclusive.
#pragma once

#include "imaging/bitmap/PLCoord.h"

class PLBox {
public:
    PLBox() = default;
    PLBox(PLCoord topLeft, PLCoord bottomRight)
        : tl(topLeft)
        , br(bottomRight)
    {
    }
    PLBox(int32_t left, int32_t top, int32_t right, int32_t bottom)
        : tl(left, top)
        , br(right, bottom)
    {
    }

    int32_t Width() const { return br.x - tl.x; }
    int32_t Height() const { return br.y - tl.y; }

    friend bool operator==(const PLBox&, const PLBox&) = default;

    PLCoord tl;
    PLCoord br;
};
