#include "imaging/FitSizeKeepAspect.h"

void FitSizeKeepAspect(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight)
{
    if (width <= 0 || height <= 0) {
        fitWidth = fitHeight = 0;
        return;
    }
    const float sx = static_cast<float>(boxWidth) / static_cast<float>(width);
    const float sy = static_cast<float>(boxHeight) / static_cast<float>(height);
    if (sy > sx) {
        fitWidth = boxWidth;
        fitHeight = static_cast<int>(static_cast<float>(height) * sx);
    } else {
        fitWidth = static_cast<int>(static_cast<float>(width) * sy);
        fitHeight = boxHeight;
    }
}
