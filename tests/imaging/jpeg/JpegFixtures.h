// Test-time JPEG fixtures: pictures are compressed with libjpeg's own compressor from a
// deterministic pattern, and decoded with libjpeg's own decompressor as the reference that the
// decoder under test must match.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jpegfixtures {

using Bytes = std::vector<uint8_t>;

struct JpegDensity {
    int unit = 0; // 0 aspect only, 1 dots per inch, 2 dots per centimetre
    int x = 1;
    int y = 1;
};

// The colour spaces of the fixtures. Cmyk samples are inverted CMYK, as editors write them; Ycck
// takes the same samples and stores them as YCCK.
enum class Colour { Rgb, Grey, Cmyk, Ycck };

// Output layouts of the reference decode.
enum class Layout {
    Bgra, // 4 bytes a pixel: blue, green, red, 255
    Grey, // 1 byte a pixel
};

struct JpegRecipe {
    int width = 16;
    int height = 16;
    Colour colour = Colour::Rgb;
    int lumaH = 2; // luma sampling factors: 2 x 2 is 4:2:0, 1 x 1 no subsampling
    int lumaV = 2;
    int quality = 90;
    bool progressive = false;
    bool arithmetic = false;
    int restartInterval = 0; // in MCUs
    std::optional<JpegDensity> density; // no JFIF marker when absent
    std::vector<Bytes> app1; // APP1 segments' data, written in order
    // Samples, components interleaved, row after row; when empty a pattern is made.
    Bytes samples;
};

// The number of components of a colour space of JpegRecipe.
int ComponentsOf(Colour colour);

// A deterministic pattern of smooth gradients with some detail, width x height x components.
Bytes MakePattern(int width, int height, int components);

// Compresses the recipe's samples.
Bytes MakeJpeg(const JpegRecipe& recipe);

struct ReferenceImage {
    int width = 0;
    int height = 0;
    int components = 0;
    Bytes samples; // rows without padding
    int warnings = 0;
    std::string error; // libjpeg's message when decoding failed
};

// libjpeg's own decode into the given layout with the floating-point inverse DCT and fancy
// upsampling switched on or off.
ReferenceImage ReferenceDecode(const Bytes& jpeg, Layout out, bool fancyUpsampling);

// An "Exif" APP1 block in Intel byte order whose main directory holds one SHORT entry.
Bytes MakeExifBlock(uint16_t tag, uint16_t value);

// The same with an entry of the given TIFF type (an unknown type makes the block bad).
Bytes MakeExifBlockWithType(uint16_t tag, uint16_t type, uint16_t value);

// Writes bytes to a file; returns the path.
std::string WriteFile(const std::string& path, const Bytes& bytes);

} // namespace jpegfixtures
