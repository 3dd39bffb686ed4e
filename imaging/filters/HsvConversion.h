// Conversions between red, green, blue and hue, saturation, value, all on a 0 to 255 scale,
// converting the three doubles in place.
#pragma once

// Red, green, blue in (truncated to integers); hue, saturation, value out.
void RgbToHsv255(double& red, double& green, double& blue);

// Hue, saturation, value in; red, green, blue out. A hue outside 0 to 255 is wrapped into it first.
// Nothing is clamped: a saturation or value outside 0 to 255 can give results outside it.
void HsvToRgb255(double& hue, double& saturation, double& value);

// Brings a hue into 0 to 255 the way the colour filters expect: one step of 255 when it lies within
// one step of the range, the remainder of a division by 255 when it lies further out; not a number
// becomes 0.
double WrapHue255(double hue);
