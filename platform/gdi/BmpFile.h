// BMP files as the clipboard of other programs carries them: the 14-byte file header ("BM", the
// file size, two reserved words, the offset of the rows) followed by a device-independent bitmap
// block (its header, colour table and rows).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace gdi {

// The BMP file of a DIB block; none when the block is shorter than its header.
std::optional<std::vector<uint8_t>> BmpFileFromDib(const std::vector<uint8_t>& dib);

// The DIB block of a BMP file, its rows following the colour table directly (a gap that the file
// leaves before its rows is closed up); none when the bytes are not a BMP file or its rows lie
// outside it.
std::optional<std::vector<uint8_t>> DibFromBmpFile(const std::vector<uint8_t>& file);

} // namespace gdi
