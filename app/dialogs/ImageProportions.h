// The print proportions an image unit can be given (10 x 8, 7 x 5, ...) and the computation of
// the missing side of a unit from the known one, so that the unit has exactly the proportion of
// the print.
#pragma once

#include <array>
#include <optional>

struct ImageProportion {
    const char* name; // as the proportion list shows it
    double widthFromHeight; // factor for a portrait print; a landscape one uses its reciprocal
    double heightFromWidth;
};

inline constexpr std::array<ImageProportion, 5> kImageProportions { {
    { "10 x 8", 0.8, 1.25 },
    { "10 x 7", 0.7, 1 / 0.7 },
    { "9 x 6", 2.0 / 3.0, 1.5 },
    { "8 x 6", 0.75, 4.0 / 3.0 },
    { "7 x 5", 5.0 / 7.0, 1.4 },
} };

enum class ProportionOrientation { portrait = 0, landscape = 1 };

// The other side, in the known side's units, truncated toward zero and kept within the 32-bit
// range. widthFromHeight: value is a height and the result a width, else the reverse.
// Nothing for an index outside the table.
std::optional<int> ComputeProportionalSide(
    int value, int proportionIndex, ProportionOrientation orientation, bool widthFromHeight);
