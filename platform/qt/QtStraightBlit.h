// Drawing a 32-bit picture one picture pixel to one device pixel straight into the painter's
// target image, in whatever row order the picture is stored.
#pragma once

#include "platform/gdi/DeviceContext.h"

class QPainter;
class QRect;

namespace gdi {

// Copies the picture's rows into the target image for a draw of one picture pixel to one device
// pixel (either vertical sense, not mirrored across), with the fourth byte of each pixel set so that
// the picture shows opaque as it does through Qt's RGB32 conversion. Bottom-up rows need neither a
// mirrored copy nor the painter's flip, which leaves Qt's row copy for a per-pixel scaler. Only where
// the result is the painter's own: a raster painter on a 32-bit image, a device transform that only
// moves by whole pixels, no clip of the painter's own (the widget's paint region is kept), plain
// copying at full opacity. Returns false, having drawn nothing, anywhere else.
bool BlitStraight(QPainter& painter, const DibCall& call, const QRect& target);

} // namespace gdi
