// The drawing view's zoom: the steps of the zoom commands, the limits that keep the page's size in
// pixels within 32 bits, and the zoom that fits the page into the window.
#pragma once

#include "platform/win/Types.h"

#include <optional>

inline constexpr double kZoomInFactor = 1.1;
inline constexpr double kZoomOutFactor = 0.9;
inline constexpr double kMinZoom = 0.01;
inline constexpr double kMaxZoom = 100.0;

// The zoom kept between kMinZoom and kMaxZoom (a zoom that is not a number becomes 1).
double LimitZoom(double zoom);

// The largest zoom at which the whole paper fits the client area (both in logical units, the
// client's height positive), limited; none when either has no area, so the zoom stays as it was.
std::optional<double> FitZoom(win::SIZE client, win::SIZE paper);

// The page's total scroll size in logical units at the zoom: each side truncated, saturated.
win::SIZE ScrollSizeAt(win::SIZE paper, double zoom);
