// Dialog units as the original converts them: a horizontal unit is a quarter of the font's
// average character width (the width of "A".."Z" and "a".."z" over 52, rounded), a vertical one
// an eighth of the font's height (ascent and descent each rounded up); each length is scaled and
// rounded to the nearest pixel.
#pragma once

#include "platform/win/Types.h"

#include <QFont>
#include <QRect>
#include <string_view>

namespace fw {

struct DialogBaseUnits {
    int cx = 0; // average character width in pixels
    int cy = 0; // character height in pixels
};

// The font a template names, as this machine has it: Liberation Sans for "Arial" (its metric
// twin), DejaVu Sans for every other face.
QFont DialogFont(std::string_view faceName, int pointSize);
DialogBaseUnits BaseUnitsOf(const QFont& font);

// x * base / 4 and y * base / 8, rounded.
int DialogToPixelsX(int x, const DialogBaseUnits& base);
int DialogToPixelsY(int y, const DialogBaseUnits& base);
// A rectangle given as x, y, width, height in dialog units, in pixels.
QRect MapDialogRect(int x, int y, int cx, int cy, const DialogBaseUnits& base);

} // namespace fw
