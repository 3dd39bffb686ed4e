// The codes of picture file types, as a decoder reports the type it read and the image wrapper
// keeps it to choose the encoder when the picture is saved.
#pragma once

#include <cstdint>

namespace PLFileType {

constexpr int32_t Unknown = 0;
constexpr int32_t Bmp = 1;
constexpr int32_t Pict = 2;
constexpr int32_t Tga = 3;
constexpr int32_t Tiff = 4;
constexpr int32_t Jpeg = 5;
constexpr int32_t Png = 6;
constexpr int32_t EpsTiff = 7; // the TIFF preview inside an EPS file
constexpr int32_t Wmf = 8;
constexpr int32_t Emf = 9;
constexpr int32_t Pcx = 10;
constexpr int32_t Pgm = 11;
constexpr int32_t Gif = 12;
constexpr int32_t Ppm = 13;
constexpr int32_t Psd = 14;
constexpr int32_t Sgi = 15;
constexpr int32_t Iff85 = 16;
constexpr int32_t Last = Iff85;

} // namespace PLFileType
