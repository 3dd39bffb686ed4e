// PackBits expansion of one row, shared by the decoders of formats that pack their rows that way.
#include "imaging/codec/PLPicDecoder.h"

#include <algorithm>
#include <cstring>

const uint8_t* PLPicDecoder::UnpackBits(
    uint8_t* dest, PLDataSource* source, int destSize, int rowBytes, int packedLength)
{
    if (rowBytes < 8)
        return source->ReadBytes(rowBytes);
    const uint8_t* in = source->ReadBytes(packedLength);
    const int64_t inSize = packedLength;
    const int64_t outSize = std::max(destSize, 0);
    int64_t i = 0;
    int64_t o = 0;
    while (i < inSize && o < outSize) {
        const int control = in[i++];
        if (control < 128) {
            // A literal run of control + 1 bytes.
            const int64_t count = std::min({ int64_t(control) + 1, inSize - i, outSize - o });
            std::memcpy(dest + o, in + i, static_cast<size_t>(count));
            i += count;
            o += count;
        } else if (control > 128) {
            // The next byte, 257 - control times.
            if (i >= inSize)
                break;
            const int64_t count = std::min(int64_t(257 - control), outSize - o);
            std::memset(dest + o, in[i++], static_cast<size_t>(count));
            o += count;
        }
    }
    if (o < outSize)
        std::memset(dest + o, 0, static_cast<size_t>(outSize - o));
    return dest;
}
