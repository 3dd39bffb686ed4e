// A pair of signed 32-bit integers: a size (width, height), a resolution (dots per inch) or a position.
#pragma once

#include <cstdint>

class PLCoord {
public:
    PLCoord() = default;
    PLCoord(int32_t x_, int32_t y_)
        : x(x_)
        , y(y_)
    {
    }

    friend bool operator==(const PLCoord&, const PLCoord&) = default;

    int32_t x = 0;
    int32_t y = 0;
};
