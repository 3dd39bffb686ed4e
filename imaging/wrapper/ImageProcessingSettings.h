// The arguments of the picture's editing operations gathered in one record, for the overloads
// that take them from it.
#pragma once

#include <cstdint>

#include "platform/win/Types.h"

struct ImageProcessingSettings {
    int32_t quarterTurns = 0; // for Rotate
    int32_t x1 = 0; // crop rectangle, right and bottom exclusive
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;
    int32_t lightness = 0;
    bool additive = false;
    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    bool balanced = false;
    int32_t hue = 0;
    int32_t saturation = 0;
    int32_t brightness = 0;
    int32_t contrast = 0;
    int32_t whiteBalanceX = 0; // the grey point of the white balance
    int32_t whiteBalanceY = 0;
    int32_t tonalRange = 0; // 0 all, 1 highlights, 2 mid-tones, 3 shadows
    win::COLORREF fillColour = 0;
};
