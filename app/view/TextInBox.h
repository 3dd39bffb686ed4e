// Fitting a text into a box by shrinking its font, and drawing it centred there: the overprint
// word of the image units uses these.
#pragma once

#include "app/view/DisplayConverter.h"
#include "platform/gdi/DeviceContext.h"

#include <cstdint>
#include <string>

// The largest size, from the given one down in steps of 5 %, at which the text fits 99 % of the
// box (device units, either sign), stopping at the first size of 9 or below. False, with the size
// unchanged, when the box is 4 or less high or 19 or less wide.
bool FitFontToBox(const std::string& text, const DisplayConverter& converter, gdi::DeviceContext& dc,
    int64_t boxWidth, int64_t boxHeight, int32_t& size, const std::string& face);

struct LayoutBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The text, unturned, centred in the layout box at the size that fits it (starting from the
// given size). False when the box is too small for any text; nothing is drawn then.
bool DrawTextInBox(gdi::DeviceContext& dc, const DisplayConverter& converter, const std::string& text,
    const LayoutBox& box, int32_t startSize, const std::string& face);
