// How DeviceIndepBitmap::Resize scales a picture.
#pragma once

#include <cstdint>

struct ResizeSettings {
    enum Mode : int32_t { ShrinkOnly = 0, EnlargeOnly = 1, Always = 2 };
    enum Filter : int32_t { Bilinear = 0, Box = 1, Gaussian = 2, Hamming = 3 };

    int32_t mode = Always; // with fit: whether a smaller or larger fitted size is applied
    int32_t filter = Bilinear;
    int32_t width = 0;
    int32_t height = 0;
    bool fit = false; // keep the aspect ratio inside width x height
    double radius = 0.0; // for the Gaussian and Hamming filters
};
