// PackBits expansion of one row, shared by the decoders of formats that pack their rows that way.
#include "imaging/codec/PLPicDecoder.h"

#include "imaging/codec/PackBits.h"

#include <algorithm>

const uint8_t* PLPicDecoder::UnpackBits(
    uint8_t* dest, PLDataSource* source, int destSize, int rowBytes, int packedLength)
{
    if (rowBytes < 8)
        return source->ReadBytes(rowBytes);
    const uint8_t* in = source->ReadBytes(packedLength);
    packbits::Expand(
        { in, static_cast<size_t>(packedLength) }, { dest, static_cast<size_t>(std::max(destSize, 0)) });
    return dest;
}
