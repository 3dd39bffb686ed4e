// Qt's images as the platform's device bitmaps, for pictures that other programs put on the
// clipboard.
#pragma once

#include "platform/gdi/Bitmap.h"

#include <QImage>

namespace fw {

// The image's pixels: a one-bit image at 1 bpp and an indexed one at 8 bpp, each with its colour
// table; any other at 32 bpp (blue, green, red, alpha). An empty image gives an empty bitmap.
gdi::Bitmap BitmapFromImage(const QImage& image);

} // namespace fw
