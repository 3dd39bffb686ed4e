// The body of the decoder fuzz targets: decodes one input from memory. Pictures above a million
// pixels are only opened, so that each input stays quick; every failure must be a PLTextException.
#pragma once

#include <cstddef>
#include <cstdint>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"

namespace fuzzing {

inline void DecodeInput(PLPicDecoder& decoder, const uint8_t* data, size_t size)
{
    constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;
    if (size > (1u << 24))
        return;
    PLMemSource source;
    source.OpenMemory(data, static_cast<int>(size));
    try {
        decoder.Open(&source);
        if (int64_t(decoder.GetWidth()) * decoder.GetHeight() <= kMaxDecodedPixels) {
            PLAnyBmp bmp;
            decoder.GetImage(bmp);
        }
    } catch (const PLTextException&) {
    }
    decoder.Close();
}

} // namespace fuzzing
