// Fuzzes the PackBits row expansion. Input: a byte for the row length (signed), two for the output
// size, two for the packed length (signed; both little-endian, the packed length may claim more
// than is there), then the packed data. The output buffer has exactly the stated size, so the
// address sanitizer catches any access outside it, and every expanded row is compared with a plain
// byte-at-a-time expansion.
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Reference(const uint8_t* in, size_t packed, size_t destSize)
{
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < packed && out.size() < destSize) {
        const int control = in[i++];
        if (control < 128) {
            for (int k = 0; k <= control && i < packed && out.size() < destSize; ++k)
                out.push_back(in[i++]);
        } else if (control > 128 && i < packed) {
            const uint8_t value = in[i++];
            for (int k = 0; k < 257 - control && out.size() < destSize; ++k)
                out.push_back(value);
        }
    }
    out.resize(destSize, 0);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 5)
        return 0;
    const int rowBytes = static_cast<int8_t>(data[0]);
    const int destSize = data[1] | data[2] << 8;
    const int packedLength = static_cast<int16_t>(data[3] | data[4] << 8);
    const uint8_t* packed = data + 5;
    const int available = static_cast<int>(size - 5);
    std::vector<uint8_t> dest(static_cast<size_t>(destSize), 0xAA);
    PLMemSource source;
    source.OpenMemory(packed, available);
    try {
        const uint8_t* row = PLPicDecoder::UnpackBits(dest.data(), &source, destSize, rowBytes, packedLength);
        if (rowBytes < 8) {
            // Stored unpacked: the row is the next rowBytes bytes of the data.
            if (row != packed || source.GetPosition() != rowBytes)
                std::abort();
        } else if (row != dest.data() || source.GetPosition() != packedLength
            || dest != Reference(packed, static_cast<size_t>(packedLength), dest.size())) {
            std::abort();
        }
    } catch (const PLTextException&) {
        // Only a read outside the data may fail, and it moves nothing.
        const int wanted = rowBytes < 8 ? rowBytes : packedLength;
        if ((wanted >= 0 && wanted <= available) || source.GetPosition() != 0)
            std::abort();
    }
    return 0;
}
