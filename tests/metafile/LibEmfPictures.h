// Enhanced metafiles written with libEMF, a library that records the Windows drawing calls into
// EMF files. Kept apart because libEMF's Windows headers clash with the program's own types.
#pragma once

#include <cstdint>
#include <vector>

namespace libemf {

// A picture 40 x 20 mm: a red rectangle with a black pen over the left half and a blue ellipse in
// the right half with no pen, drawn in 0.1 mm units (MM_ANISOTROPIC) on libEMF's reference device.
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
