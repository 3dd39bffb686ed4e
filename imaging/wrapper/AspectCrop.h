// The rectangle that crops a picture to an aspect ratio, with a margin and offsets.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win/Types.h"

struct AspectCropRequest {
    double a = 0; // the two sides of the wanted ratio; the longer side of the picture gets the larger
    double b = 0;
    int32_t marginPercent = 0; // taken off each side of the rectangle, keeping its centre
    int32_t yOffsetPercent = 0; // of the picture's height, stopping at the edges
    int32_t xOffsetPercent = 0; // of the picture's width, stopping at the edges
    bool force = false; // ratio a / b and the picture taken as portrait, whatever their shapes
};

// The rectangle (left, top, right, bottom; right and bottom exclusive) for a picture of w x h.
// None for an empty picture or a ratio that is not a finite number above 0 (a side of 0, below 0,
// NaN or infinite): nothing is to be cropped. Margins and offsets outside 0 to 100 give the
// rectangle their arithmetic gives, each side held within the 32-bit range.
std::optional<win::RECT> ComputeAspectCrop(int32_t w, int32_t h, const AspectCropRequest& request);
