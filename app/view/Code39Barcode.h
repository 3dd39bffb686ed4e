// The order reference as a Code 39 barcode: the decimal reference is compressed to a short
// base-36 text beginning with "$", and that text is painted as bars in a device rectangle at
// one of four clockwise quarter turns.
#pragma once

#include "platform/gdi/DeviceContext.h"
#include "platform/win/Types.h"

#include <string>
#include <string_view>

// Replaces the reference by its barcode text: the first 11 characters read as a decimal number
// (modulo 2^64), written in base 36 ("0"-"9", "A"-"Z"), padded with "0" to 8 digits, after a "$".
void ReferenceToBarcodeText(std::string& reference);

// The nine elements of a character, one letter each: "b" narrow bar, "B" wide bar, "w" narrow
// space, "W" wide space. Lower-case letters use their upper-case pattern, "*" the start/stop
// pattern; empty for a character Code 39 does not have.
std::string_view Code39Pattern(char c);

// The whole code as element letters: start, gap, each character's pattern and a gap (only the gap
// for a character without a pattern), stop.
std::string Code39Elements(std::string_view text);

// Orientation 0 to 3 (clockwise quarter turns) of an angle in whole degrees.
int Code39Orientation(int angle);

// Paints the text's bars with the colour in the device rectangle (left, top) to (right, bottom):
// right - left is the length of the whole code, bottom - top the length of the bars; the code is
// turned clockwise about (left, top) by the angle's orientation. The background colour of the
// device context is the same afterwards.
void DrawCode39Barcode(
    gdi::DeviceContext& dc, const win::RECT& rect, const std::string& text, int angle, win::COLORREF colour);
