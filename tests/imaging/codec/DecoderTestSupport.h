// Helpers for the decoder tests: decoding a file with one of our decoders, the same file through the
// independent decoders (ImageMagick, Pillow), and comparing the pixels as red, green, blue, alpha.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/codec/PLPicDecoder.h"

namespace decodertest {

using encodertest::Bytes;

// Pillow's decode of the file's first frame as red, green, blue, alpha, top row first. Debian's
// python3 is named in full: another python3 on the PATH may lack Pillow.
inline Bytes PillowRgba(const std::string& path)
{
    return encodertest::RunTool(
        "/usr/bin/python3 -c 'import sys; from PIL import Image; "
        "sys.stdout.buffer.write(Image.open(sys.argv[1]).convert(\"RGBA\").tobytes())' '"
        + path + "'");
}

// ImageMagick's decode of the file's first frame.
inline Bytes ImageMagickRgba(const std::string& path)
{
    return encodertest::ImageMagickRgba(path + "[0]");
}

// Decodes the file at the decoder's own depth.
inline std::unique_ptr<PLAnyBmp> DecodeFile(PLPicDecoder& decoder, const std::string& path)
{
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeFile(path.c_str(), bmp.get());
    return bmp;
}

enum class Compare {
    Rgba, // every channel
    Colour, // red, green and blue: alpha that we drop on purpose is not compared
    Visible, // every alpha, and the colours of the pixels that the reference does not make fully transparent
};

// The largest difference of one sample between ours and the reference, or 1000 when their sizes
// differ (an empty reference means the tool failed).
inline int MaxDifference(const Bytes& ours, const Bytes& reference, Compare mode)
{
    if (ours.size() != reference.size() || ours.empty())
        return 1000;
    int largest = 0;
    for (size_t i = 0; i < ours.size(); i += 4) {
        const bool hidden = mode == Compare::Visible && reference[i + 3] == 0;
        for (size_t c = hidden ? 3 : 0; c < (mode == Compare::Colour ? 3u : 4u); ++c)
            largest = std::max(largest, std::abs(int(ours[i + c]) - int(reference[i + c])));
    }
    return largest;
}

} // namespace decodertest
