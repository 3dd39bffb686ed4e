// Fuzz target: opens PSD data from memory, decodes every layer and then the merged picture.
// Pictures and layers above a million pixels are not decoded, so that each input stays quick.
#include <cstddef>
#include <cstdint>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/psd/PLPSDDecoder.h"

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 20;

bool Small(const PLCoord& size)
{
    return int64_t(size.x) * size.y <= kMaxDecodedPixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 24))
        return 0;
    PLMemSource source;
    source.OpenMemory(data, static_cast<int>(size));
    PLPSDDecoder decoder;
    try {
        decoder.Open(&source);
        for (int n = 0; n < decoder.GetNumLayers(); ++n) {
            PLAnyBmp layer;
            if (!Small(decoder.GetNextLayerSize()))
                break;
            decoder.GetNextLayer(layer);
        }
        if (Small(decoder.GetSize())) {
            PLAnyBmp bmp;
            decoder.GetImage(bmp);
        }
    } catch (const PLTextException&) {
    }
    decoder.Close();
    return 0;
}
