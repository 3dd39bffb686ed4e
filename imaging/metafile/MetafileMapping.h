// The mapping from a metafile's logical coordinates to pixels of the output picture: the mapping
// mode with its window and viewport, then (for an enhanced metafile) the reference device's
// pixels fitted into the output picture. An extent of 0 counts as 1, so that no record divides by
// zero.
#pragma once

#include "imaging/metafile/MetafileCanvas.h"

namespace metafile {

// Mapping modes.
inline constexpr int kMapText = 1;
inline constexpr int kMapLoMetric = 2;
inline constexpr int kMapHiMetric = 3;
inline constexpr int kMapLoEnglish = 4;
inline constexpr int kMapHiEnglish = 5;
inline constexpr int kMapTwips = 6;
inline constexpr int kMapIsotropic = 7;
inline constexpr int kMapAnisotropic = 8;

struct Mapping {
    int mode = kMapText;
    PointD windowOrg;
    PointD windowExt { 1, 1 };
    PointD viewportOrg;
    PointD viewportExt { 1, 1 };
};

// The output side: device pixels per millimetre of the reference device (for the metric and
// English modes) and the last step from device pixels into the output picture.
struct Output {
    double pixelsPerMmX = 96 / 25.4;
    double pixelsPerMmY = 96 / 25.4;
    PointD origin; // device pixel that lands on the output's (0, 0)
    PointD scale { 1, 1 }; // output pixels per device pixel
};

PointD ToOutput(const Mapping& mapping, const Output& output, PointD logical);

// An extent scaled by numerator / denominator (integer division, as the device does); unchanged by
// a denominator of 0 (the scaling records of both metafile kinds).
double ScaledExtent(double extent, int32_t numerator, int32_t denominator);

// A point in the reference device's pixels (an enhanced metafile's regions) in the output picture.
PointD DeviceToOutput(const Output& output, PointD device);

// Lengths (pen widths, font heights): the magnitude along one axis.
double LengthToOutputX(const Mapping& mapping, const Output& output, double logical);
double LengthToOutputY(const Mapping& mapping, const Output& output, double logical);

} // namespace metafile
