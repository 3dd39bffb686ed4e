// The test card of the Qt device: fills, a 2 x 2 picture drawn upright and flipped, and text
// at the four quarter-turn escapements. Drawn in the metric mapping; at 254 dpi one logical
// unit is one pixel, which the pixel checks below rely on.
#pragma once

#include "platform/gdi/DeviceContext.h"

#include <QPoint>
#include <QRect>

#include <array>

namespace qttest {

constexpr int kCardWidth = 1320; // pixels at 254 dpi, tenths of a millimetre
constexpr int kCardHeight = 700;

// Fills, in logical units (y up): each is drawn with its colour and checked pixel by pixel.
struct CardFill {
    win::RECT logical;
    win::COLORREF color;
    QRect device; // the pixels it must cover exactly
};
inline const std::array<CardFill, 3> kCardFills = { {
    { { 20, -20, 120, -70 }, win::RGB(200, 30, 30), QRect(20, 20, 100, 50) },
    { { 140, -70, 141, -20 }, win::RGB(30, 160, 30), QRect(140, 20, 1, 50) }, // one pixel wide
    { { 260, -20, 160, -70 }, win::RGB(30, 30, 200), QRect(160, 20, 100, 50) }, // given right to left
} };

// The 2 x 2 picture: top row red, green; bottom row blue, yellow.
constexpr win::COLORREF kPictureColours[2][2] = {
    { win::RGB(255, 0, 0), win::RGB(0, 255, 0) },
    { win::RGB(0, 0, 255), win::RGB(255, 255, 0) },
};
// Where the picture goes: upright with a negative logical height, flipped with a positive one.
inline const QRect kUprightPicture(300, 20, 100, 100);
inline const QRect kFlippedPicture(450, 20, 100, 100);

// Text at each escapement, with its top-left corner at the origin.
struct CardText {
    int escapement;
    QPoint origin;
    int signX; // the side of the origin the ink must lie on
    int signY;
};
inline const std::array<CardText, 4> kCardTexts = { {
    { 0, QPoint(60, 400), +1, +1 },
    { 900, QPoint(460, 400), +1, -1 },
    { 1800, QPoint(860, 400), -1, -1 },
    { 2700, QPoint(1260, 400), -1, +1 },
} };
constexpr int kTextHeight = 40; // em height in pixels
// Half the side of the square around each origin that holds its text and nothing else.
constexpr int kTextWindow = 195;
constexpr char kCardWord[] = "Orvanel \xA9";

void DrawTestCard(gdi::DeviceContext& dc);

} // namespace qttest
