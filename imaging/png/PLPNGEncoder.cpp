#include "imaging/png/PLPNGEncoder.h"

#include <algorithm>
#include <png.h>
#include <string>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"
#include "imaging/png/PngWriteCalls.h"

namespace {

// Dots per inch as pixels per metre (39.37 in single precision, truncated), within PNG's range.
uint32_t PixelsPerMetre(int32_t dotsPerInch)
{
    const double value = static_cast<double>(static_cast<float>(dotsPerInch) * 39.37f);
    return value <= 0 ? 0 : static_cast<uint32_t>(std::min(value, 2147483647.0));
}

void DescribePixels(const PLBmp& bmp, PngImage& image, PngPalette& palette)
{
    switch (bmp.GetBitsPerPixel()) {
    case 1:
    case 8: {
        image.bitDepth = bmp.GetBitsPerPixel();
        image.colourType = PNG_COLOR_TYPE_PALETTE;
        image.paletteSize = bmp.GetNumColors();
        const PLPixel32* entries = bmp.GetPalette();
        for (int i = 0; i < image.paletteSize; ++i) {
            palette.red[i] = entries ? entries[i].GetR() : 0;
            palette.green[i] = entries ? entries[i].GetG() : 0;
            palette.blue[i] = entries ? entries[i].GetB() : 0;
        }
        image.palette = &palette;
        return;
    }
    case 24:
        image.bitDepth = 8;
        image.colourType = PNG_COLOR_TYPE_RGB;
        image.bytesPerPixel = 3;
        return;
    case 32:
        image.bitDepth = 8;
        image.colourType = bmp.HasAlpha() ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
        image.bytesPerPixel = 4;
        return;
    default:
        PLPicEncoder::RaiseUnsupportedDepth(bmp.GetBitsPerPixel(), "PNG");
    }
}

} // namespace

void PLPNGEncoder::DoEncode(const PLBmp* bmp, PLDataSink* sink)
{
    PngImage image {};
    PngPalette palette {};
    DescribePixels(*bmp, image, palette);
    image.width = static_cast<uint32_t>(bmp->GetWidth());
    image.height = static_cast<uint32_t>(bmp->GetHeight());
    image.xPixelsPerMetre = PixelsPerMetre(bmp->GetResolution().x);
    image.yPixelsPerMetre = PixelsPerMetre(bmp->GetResolution().y);
    if (image.xPixelsPerMetre == 0 || image.yPixelsPerMetre == 0)
        image.xPixelsPerMetre = image.yPixelsPerMetre = 0;
    image.compressionLevel = std::clamp(m_CompressionLevel, -1, 9);
    image.rows = bmp->GetLineArray();

    PngWriteState state {};
    state.sink = sink;
    int result = 0;
    {
        PLBmpLock lock(*bmp, true, false);
        result = PngGuardedWrite(image, state);
    }
    if (result == 2)
        PLPicDecoder::RaiseError(PL_ERR_NO_MEMORY, "Out of memory creating the PNG writer.");
    if (state.failure)
        std::rethrow_exception(state.failure);
    if (result != 0)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, state.message);
}
