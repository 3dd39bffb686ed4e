// Fuzz target: decodes PNG data from memory (see DecodeInput.h). The chunks' checksums are made right
// first, so that mutations reach the chunk and image code instead of stopping at the checksum.
#include <vector>

#include <zlib.h>

#include "fuzz/DecodeInput.h"
#include "imaging/png/PLPNGDecoder.h"

namespace {

// Walks the chunks after the 8-byte signature and rewrites each one's CRC over its type and data.
void FixChecksums(std::vector<uint8_t>& file)
{
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint64_t length = (uint64_t { file[at] } << 24) | (uint64_t { file[at + 1] } << 16)
            | (uint64_t { file[at + 2] } << 8) | file[at + 3];
        if (length > file.size() - at - 12)
            return;
        const auto covered = static_cast<size_t>(length) + 4;
        const uLong crc = crc32(0, file.data() + at + 4, static_cast<uInt>(covered));
        uint8_t* out = file.data() + at + 4 + covered;
        for (int i = 0; i < 4; ++i)
            out[i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + static_cast<size_t>(length);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> file(data, data + size);
    FixChecksums(file);
    PLPNGDecoder decoder;
    fuzzing::DecodeInput(decoder, file.data(), file.size());
    return 0;
}
