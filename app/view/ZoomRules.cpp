#include "app/view/ZoomRules.h"

#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cmath>

double LimitZoom(double zoom)
{
    if (std::isnan(zoom))
        return 1.0;
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

std::optional<double> FitZoom(win::SIZE client, win::SIZE paper)
{
    if (client.cx <= 0 || client.cy <= 0 || paper.cx <= 0 || paper.cy <= 0)
        return std::nullopt;
    double zoom = static_cast<double>(client.cy) / paper.cy;
    if (client.cx < paper.cx * zoom)
        zoom = static_cast<double>(client.cx) / paper.cx;
    return LimitZoom(zoom);
}

win::SIZE ScrollSizeAt(win::SIZE paper, double zoom)
{
    return { win::SaturateToInt32(std::trunc(paper.cx * zoom)),
        win::SaturateToInt32(std::trunc(paper.cy * zoom)) };
}
