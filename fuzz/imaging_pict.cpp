// Fuzz target: decodes PICT data from memory with a JPEG decoder for embedded QuickTime pictures.
// Pictures above a million pixels are only opened, so that each input stays quick. Afterwards the
// same JPEG decoder must still decode a JPEG of its own, so that a failure inside the embedded
// picture never leaves it broken.
#include <cstddef>
#include <cstdint>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24))
        return 0;
    PLJPEGDecoder jpeg;
    PLMemSource source;
    source.OpenMemory(data, static_cast<int>(size));
    PLPictDecoder decoder(&jpeg);
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
