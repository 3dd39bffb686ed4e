// Enhanced metafiles written with libEMF, a library that records the Windows drawing calls into
// EMF files. Kept apart because libEMF's Windows headers clash with the program's own types.
#pragma once

#include <cstdint>
#include <vector>

namespace libemf {

// A picture 40 x 20 mm drawn in 0.1 mm units (MM_ANISOTROPIC) on libEMF's reference device: a red
// rectangle with a black pen over the left half, black bold text "HHHH" 5 mm high on it from
// (2 mm, 2 mm), a blue ellipse in the right half with no pen, a green triangle without pen in the
// top-right corner and a yellow line 1 mm thick 1 mm above the bottom of the right half.
std::vector<uint8_t> ShapesPicture();

// The device size libEMF records (pixels and millimetres).
struct Device {
    int width = 0;
    int height = 0;
    int widthMm = 0;
    int heightMm = 0;
};
Device ReferenceDevice(const std::vector<uint8_t>& emf);

} // namespace libemf
