// The codes of picture file types, as a decoder reports the type it read and the image wrapper
// keeps it to choose the encoder when the picture is saved.
#pragma once

#include <cstdint>

namespace PLFileType {

constexpr int32_t Unknown = 0;
constexpr int32_t Bmp = 1;
constexpr int32_t Pict = 2;
constexpr int32_t Tiff = 4;
constexpr int32_t Jpeg = 5;
constexpr int32_t Png = 6;

} // namespace PLFileType
