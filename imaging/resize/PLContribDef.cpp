#include "imaging/resize/PLContribDef.h"

#include <cmath>
#include <numbers>

double PLBilinearContribDef::Weight(double x) const
{
    const double w = GetWidth();
    const double d = std::fabs(x);
    return d < w ? w - d : 0.0;
}

double PLBoxContribDef::Weight(double x) const
{
    return std::fabs(x) <= GetWidth() ? 1.0 : 0.0;
}

double PLGaussianContribDef::Weight(double x) const
{
    const double w = GetWidth();
    if (std::fabs(x) > w)
        return 0.0;
    return std::exp(-(x * x / w) - 1.0) / std::sqrt(2.0 * std::numbers::pi);
}

double PLHammingContribDef::Weight(double x) const
{
    if (std::fabs(x) > GetWidth())
        return 0.0;
    const double a = 0.54 + 0.46 * std::cos(2.0 * std::numbers::pi * x);
    if (x == 0.0)
        return a;
    const double px = std::numbers::pi * x;
    return a * std::sin(px) / px;
}
