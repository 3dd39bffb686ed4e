// The arithmetic shared by the ways of fitting a picture into a box with its proportions kept; they
// differ only in how they make the scaled side whole.
#pragma once

#include <cstdint>
#include <utility>

// Scales width x height, in single precision, by the one factor that makes it touch the box on one
// side and lie within it on the other; roundSide(scaled side, box side) makes the other side whole.
// An empty picture or box (a side of 0 or less) fits as 0 x 0.
template <class RoundSide>
std::pair<int32_t, int32_t> FitToBox(
    int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight, RoundSide&& roundSide)
{
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return { 0, 0 };
    const float sx = static_cast<float>(boxWidth) / static_cast<float>(width);
    const float sy = static_cast<float>(boxHeight) / static_cast<float>(height);
    if (sy > sx)
        return { boxWidth, roundSide(static_cast<float>(height) * sx, boxHeight) };
    return { roundSide(static_cast<float>(width) * sy, boxWidth), boxHeight };
}
