#include "imaging/raster/PLBmpEncoder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLDataSink.h"
#include "imaging/io/PLTextException.h"

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// Dots per inch as pixels per metre, rounded in single precision, within the field's range.
uint32_t PixelsPerMetre(int32_t dotsPerInch)
{
    const double value = static_cast<double>(static_cast<float>(dotsPerInch) * 39.37f + 0.5f);
    return value <= 0 ? 0 : static_cast<uint32_t>(std::min(value, 2147483647.0));
}

// The picture as the file stores it: bits per pixel, palette entries, bytes of pixels in a row.
struct BmpLayout {
    int bitCount;
    int paletteEntries;
    int64_t pixelBytes;
    int64_t paddedBytes;
};

BmpLayout LayoutOf(const PLBmp& bmp)
{
    const int bpp = bmp.GetBitsPerPixel();
    if (bpp != 1 && bpp != 8 && bpp != 24 && bpp != 32)
        PLPicEncoder::RaiseUnsupportedDepth(bpp, "BMP");
    BmpLayout layout {};
    layout.bitCount = bpp <= 8 ? bpp : 24;
    layout.paletteEntries = bpp <= 8 ? 1 << bpp : 0;
    layout.pixelBytes = PLBmp::UnpaddedRowBytes(bmp.GetWidth(), layout.bitCount);
    layout.paddedBytes = (layout.pixelBytes + 3) / 4 * 4;
    return layout;
}

std::vector<uint8_t> Headers(const PLBmp& bmp, const BmpLayout& layout)
{
    const int64_t offset = kFileHeaderBytes + kInfoHeaderBytes + 4 * int64_t { layout.paletteEntries };
    const int64_t fileSize = offset + layout.paddedBytes * bmp.GetHeight();
    if (fileSize > 0xFFFFFFFF)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "The picture is too large for a BMP file.");
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(offset));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(fileSize));
    Put32(out, 0); // two reserved 16-bit fields
    Put32(out, static_cast<uint32_t>(offset));
    Put32(out, kInfoHeaderBytes);
    Put32(out, static_cast<uint32_t>(bmp.GetWidth()));
    Put32(out, static_cast<uint32_t>(bmp.GetHeight())); // positive: rows stored bottom-up
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(layout.bitCount));
    Put32(out, 0); // no compression
    Put32(out, 0); // image size, implied
    Put32(out, PixelsPerMetre(bmp.GetResolution().x));
    Put32(out, PixelsPerMetre(bmp.GetResolution().y));
    Put32(out, 0); // colours used: all
    Put32(out, 0); // colours important: all
    // The palette as stored (blue, green, red, then a zero byte); entries it lacks are zero.
    const PLPixel32* palette = bmp.GetPalette();
    const int held = palette ? std::min(layout.paletteEntries, bmp.GetNumColors()) : 0;
    for (int i = 0; i < layout.paletteEntries; ++i) {
        out.push_back(i < held ? palette[i].GetB() : 0);
        out.push_back(i < held ? palette[i].GetG() : 0);
        out.push_back(i < held ? palette[i].GetR() : 0);
        out.push_back(0);
    }
    return out;
}

// One row as the file stores it; the padding stays zero.
void PackRow(const PLBmp& bmp, int y, const BmpLayout& layout, std::vector<uint8_t>& row)
{
    const uint8_t* source = bmp.GetRow(y);
    if (bmp.GetBitsPerPixel() <= 24) {
        std::copy(source, source + layout.pixelBytes, row.begin());
        return;
    }
    uint8_t* out = row.data();
    for (int x = 0; x < bmp.GetWidth(); ++x, source += 4, out += 3) {
        out[0] = source[0];
        out[1] = source[1];
        out[2] = source[2];
    }
}

} // namespace

void PLBmpEncoder::DoEncode(const PLBmp* bmp, PLDataSink* sink)
{
    const BmpLayout layout = LayoutOf(*bmp);
    const std::vector<uint8_t> headers = Headers(*bmp, layout);
    sink->WriteBytes(static_cast<int>(headers.size()), headers.data());
    std::vector<uint8_t> row(static_cast<size_t>(layout.paddedBytes), 0);
    PLBmpLock lock(*bmp, true, false);
    for (int y = bmp->GetHeight() - 1; y >= 0; --y) {
        PackRow(*bmp, y, layout, row);
        sink->WriteBytes(static_cast<int>(row.size()), row.data());
    }
}
