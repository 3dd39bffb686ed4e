// Test support for the raster decoders: little files are built byte by byte at test time, decoded
// by the decoder under test and by an independent decoder from Debian (netpbm or ImageMagick),
// whose PNM or PAM output is read back for the comparison.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class PLPicDecoder;

namespace rasterfixtures {

using Bytes = std::vector<uint8_t>;

void Put8(Bytes& out, unsigned v);
void Put16LE(Bytes& out, unsigned v);
void Put32LE(Bytes& out, uint32_t v);
void Put16BE(Bytes& out, unsigned v);
void Put32BE(Bytes& out, uint32_t v);
void PutText(Bytes& out, const std::string& text);

// A picture as red, green, blue and alpha samples of 0 to maxValue, rows from the top.
struct Picture {
    int width = 0;
    int height = 0;
    int maxValue = 255;
    bool hasAlpha = false; // the decoder's alpha flag, or an alpha channel in the peer's output
    bool isGreyscale = false;
    int bpp = 0; // the depth our decoder gave
    std::vector<uint16_t> samples; // 4 per pixel: red, green, blue, alpha

    const uint16_t* At(int x, int y) const { return &samples[(static_cast<size_t>(y) * width + x) * 4]; }
};

// Decodes the file from memory (an exact-size copy, so that the address sanitizer sees any read
// beyond it) at the decoder's own depth; pixels of 8-bit pictures are looked up in the palette.
Picture DecodeOurs(PLPicDecoder& decoder, const Bytes& file);

// The code of the PLTextException that decoding raises, or 0 when it succeeds.
int DecodeError(PLPicDecoder& decoder, const Bytes& file);

// Writes the file into a fresh temporary folder with the given name and runs the command with the
// file's path in place of "{}" (or appended when there is none); the command's standard output (PNM P1 to P6,
// or PAM) is the result.
std::optional<Picture> ReferenceDecode(
    const std::string& command, const Bytes& file, const std::string& name);

// Pillow (Debian's python3, named in full) as a peer command for ReferenceDecode: its RGB reading as
// a PPM.
constexpr const char* kPillowPpm
    = "/usr/bin/python3 -c 'import sys; from PIL import Image; "
      "Image.open(sys.argv[1]).convert(\"RGB\").save(sys.stdout.buffer, \"PPM\")' {}";

// Compares every pixel's red, green and blue; expected maps the peer's sample (and maximum) to
// the value we should give, for formats where the decoder deliberately differs from the peer.
using SampleMapping = std::function<int(int sample, int maxValue, int channel)>;
int ScaledTo8Bits(int sample, int maxValue, int channel);
// Counts the differing pixels and describes the first in firstDifference.
int CountDifferences(
    const Picture& ours, const Picture& peer, const SampleMapping& expected, std::string& firstDifference);

// A deterministic pattern value in 0..n-1 for pixel (x, y) of channel c.
int Pattern(int x, int y, int c, int n);

} // namespace rasterfixtures
