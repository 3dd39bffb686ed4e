// The size of a picture scaled to fit a box with its aspect ratio kept.
#pragma once

#include <cstdint>

#include "platform/win/Types.h"

// The picture w x h scaled to touch the box bw x bh on one side and lie within it on the other.
// An empty picture or box (a side of 0 or less) fits to 0 x 0; otherwise no side is below 1.
win::SIZE FitWithinBox(int32_t w, int32_t h, int32_t bw, int32_t bh);
