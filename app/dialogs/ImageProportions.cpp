#include "app/dialogs/ImageProportions.h"

#include "platform/win/IntArithmetic.h"

std::optional<int> ComputeProportionalSide(
    int value, int proportionIndex, ProportionOrientation orientation, bool widthFromHeight)
{
    if (proportionIndex < 0 || proportionIndex >= static_cast<int>(kImageProportions.size()))
        return std::nullopt;
    const ImageProportion& proportion = kImageProportions[static_cast<std::size_t>(proportionIndex)];
    const double ratio = widthFromHeight ? proportion.widthFromHeight : proportion.heightFromWidth;
    const double factor = orientation == ProportionOrientation::landscape ? 1 / ratio : ratio;
    return win::SaturateToInt32(value * factor);
}
