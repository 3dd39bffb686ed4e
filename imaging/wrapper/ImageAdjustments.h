// The optional processing request of an image-cache load: a turn, then colour, hue, saturation,
// brightness, contrast and lightness changes, applied in that order to the loaded picture.
#pragma once

#include <cstdint>

struct ImageAdjustments {
    int32_t quarterTurns = 0; // clockwise turns from the loaded picture, unless useExifOrientation
    int16_t lightness = 0;
    int16_t red = 0;
    int16_t green = 0;
    int16_t blue = 0;
    bool balanced = false;
    int16_t contrast = 0;
    int16_t hue = 0;
    int16_t saturation = 0;
    int16_t brightness = 0;
    bool useExifOrientation = false; // turn as the file's EXIF orientation says instead
};
