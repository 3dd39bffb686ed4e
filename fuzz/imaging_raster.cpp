// Fuzz target for the raster decoders: the first byte picks the decoder (BMP, TGA, PCX, PGM, PPM,
// SGI by its value modulo 6), the rest is the file, decoded from memory at the picture's own
// depth and again at 32 bits. Pictures above four million pixels are only opened, so that each
// input stays quick. A decoded bitmap must have the size and depth its decoder described.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLPCXDecoder.h"
#include "imaging/raster/PLPGMDecoder.h"
#include "imaging/raster/PLPPMDecoder.h"
#include "imaging/raster/PLSGIDecoder.h"
#include "imaging/raster/PLTGADecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr int64_t kMaxDecodedPixels = int64_t(1) << 22;

std::unique_ptr<PLPicDecoder> PickDecoder(uint8_t selector)
{
    switch (selector % 6) {
    case 0:
        return std::make_unique<PLBmpDecoder>();
    case 1:
        return std::make_unique<PLTGADecoder>();
    case 2:
        return std::make_unique<PLPCXDecoder>();
    case 3:
        return std::make_unique<PLPGMDecoder>();
    case 4:
        return std::make_unique<PLPPMDecoder>();
    default:
        return std::make_unique<PLSGIDecoder>();
    }
}

void Decode(PLPicDecoder& decoder, const uint8_t* data, int size, int bpp)
{
    PLAnyBmp bmp;
    try {
        decoder.DecodeMemory(data, size, &bmp, bpp);
    } catch (const PLTextException&) {
        return;
    }
    if (bmp.GetSize() != decoder.GetSize()
        || bmp.GetBitsPerPixel() != (bpp ? bpp : decoder.GetBitsPerPixel()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 24))
        return 0;
    const auto decoder = PickDecoder(data[0]);
    const uint8_t* file = data + 1;
    const int fileSize = static_cast<int>(size - 1);
    // Open alone first: the size decides whether the pixels are decoded too.
    PLMemSource source;
    source.OpenMemory(file, fileSize);
    try {
        decoder->Open(&source);
    } catch (const PLTextException&) {
        source.Close();
        return 0;
    }
    source.Close();
    if (int64_t { decoder->GetWidth() } * decoder->GetHeight() > kMaxDecodedPixels)
        return 0;
    Decode(*decoder, file, fileSize, 0);
    Decode(*decoder, file, fileSize, 32);
    return 0;
}
