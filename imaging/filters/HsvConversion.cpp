#include "imaging/filters/HsvConversion.h"

#include <algorithm>
#include <cmath>

double WrapHue255(double hue)
{
    if (!std::isfinite(hue))
        return 0.0;
    if (hue > 255.0)
        hue -= 255.0;
    else if (hue < 0.0)
        hue += 255.0;
    if (hue > 255.0 || hue < 0.0) {
        hue = std::fmod(hue, 255.0);
        if (hue < 0.0)
            hue += 255.0;
    }
    return hue;
}

void RgbToHsv255(double& red, double& green, double& blue)
{
    const double r = std::trunc(red), g = std::trunc(green), b = std::trunc(blue);
    const double max = std::max({ r, g, b });
    const double min = std::min({ r, g, b });
    double h = 0, s = 0;
    if (max != 0) {
        s = (max - min) * 255.0 / max;
        if (s != 0) {
            const double d = max - min;
            if (r == max)
                h = (g - b) / d;
            else if (g == max)
                h = (b - r) / d + 2;
            else
                h = (r - g) / d + 4;
            h *= 42.5;
            if (h < 0)
                h += 255;
            else if (h > 255)
                h -= 255;
        }
    }
    red = h;
    green = s;
    blue = max;
}

void HsvToRgb255(double& hue, double& saturation, double& value)
{
    const double v = value / 255.0;
    if (std::trunc(saturation) == 0) {
        hue = saturation = value;
        return;
    }
    const double h = WrapHue255(hue) * 6.0 / 255.0;
    const double s = saturation / 255.0;
    const int i = static_cast<int>(h); // 0 to 6; 6 is the hue 255, the same colour as 0
    const double f = h - i;
    const double p = (1 - s) * v;
    const double q = (1 - f * s) * v;
    const double t = (1 - (1 - f) * s) * v;
    double r, g, b;
    switch (i) {
    case 1:
        r = q, g = v, b = p;
        break;
    case 2:
        r = p, g = v, b = t;
        break;
    case 3:
        r = p, g = q, b = v;
        break;
    case 4:
        r = t, g = p, b = v;
        break;
    case 5:
        r = v, g = p, b = q;
        break;
    default:
        r = v, g = t, b = p;
        break;
    }
    hue = r * 255;
    saturation = g * 255;
    value = b * 255;
}
