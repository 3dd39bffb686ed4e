// Fuzz target: decodes IFF-85 (ILBM and PBM) data from memory. Pictures above a million pixels are
// only opened, so that each input stays quick.
#include <cstddef>
#include <cstdint>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/iff/PLIFF85Decoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24))
        return 0;
    PLMemSource source;
    source.OpenMemory(data, static_cast<int>(size));
    PLIFF85Decoder decoder;
    try {
        decoder.Open(&source);
        if (int64_t(decoder.GetWidth()) * decoder.GetHeight() <= kMaxDecodedPixels) {
            PLAnyBmp bmp;
            decoder.GetImage(bmp);
        }
    } catch (const PLTextException&) {
    }
    decoder.Close();
    return 0;
}
