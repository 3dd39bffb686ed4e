#include "imaging/pict/PictRows.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/codec/PackBits.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace pict {
namespace {

// The row bytes that count (the PixMap flag is never part of them); 0 means the width in bytes.
int64_t EffectiveRowBytes(const RowFormat& f)
{
    const int stored = f.rowBytes & 0x7FFF;
    return stored != 0 ? stored : (int64_t(f.width) * f.pixelSize + 7) / 8;
}

// Rows of 8 bytes or more are packed, each after its packed length: one byte when the row bytes
// are below 251, else two.
int ReadPackedLength(Reader& reader, int64_t rowBytes)
{
    return rowBytes < 251 ? reader.Read8() : reader.Read16();
}

// One row's bytes, unpacked: `size` bytes, zero where the data ends early.
std::vector<uint8_t> ReadRowBytes(Reader& reader, const RowFormat& f, int64_t size)
{
    const int64_t rowBytes = EffectiveRowBytes(f);
    std::vector<uint8_t> row(static_cast<size_t>(size));
    if (rowBytes < 8) {
        // Short rows are stored as they are.
        const uint8_t* plain = reader.Source().ReadBytes(static_cast<int>(rowBytes));
        std::memcpy(row.data(), plain, static_cast<size_t>(std::min(rowBytes, size)));
        return row;
    }
    // 16-bit rows are packed in two-byte units, all others in bytes.
    const int packedLength = ReadPackedLength(reader, rowBytes);
    const uint8_t* packed = reader.Source().ReadBytes(packedLength);
    packbits::Expand({ packed, static_cast<size_t>(packedLength) }, row, f.pixelSize == 16 ? 2 : 1);
    return row;
}

void ExpandIndexRow(const std::vector<uint8_t>& bytes, int pixelSize, int width, uint8_t* out)
{
    const int perByte = 8 / pixelSize;
    const int mask = (1 << pixelSize) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - pixelSize * (x % perByte + 1);
        out[x] = static_cast<uint8_t>((bytes[static_cast<size_t>(x / perByte)] >> shift) & mask);
    }
}

void Expand16Row(const std::vector<uint8_t>& bytes, int width, PLPixel32* out)
{
    for (int x = 0; x < width; ++x) {
        const int v = (bytes[2 * size_t(x)] << 8) | bytes[2 * size_t(x) + 1];
        out[x].Set(static_cast<uint8_t>(((v >> 10) & 31) * 8), static_cast<uint8_t>(((v >> 5) & 31) * 8),
            static_cast<uint8_t>((v & 31) * 8), 255);
    }
}

void Expand32Row(const std::vector<uint8_t>& planes, int width, int cmpCount, PLPixel32* out)
{
    const size_t w = static_cast<size_t>(width);
    const size_t first = cmpCount == 4 ? w : 0; // alpha comes first when there are four planes
    for (size_t x = 0; x < w; ++x) {
        const uint8_t alpha = cmpCount == 4 ? planes[x] : 255;
        out[x].Set(planes[first + x], planes[first + w + x], planes[first + 2 * w + x], alpha);
    }
}

// The unpacked size of a row in bytes.
int64_t UnpackedRowSize(const RowFormat& f)
{
    if (f.pixelSize == 32)
        return int64_t(f.width) * f.cmpCount;
    return (int64_t(f.width) * f.pixelSize + 7) / 8;
}

void CheckPixelSize(const RowFormat& f)
{
    const int size = f.pixelSize;
    if (size != 1 && size != 2 && size != 4 && size != 8 && size != 16 && size != 32) {
        const std::string text = "Illegal bpp value in unpackbits: " + std::to_string(size) + "\n";
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, text.c_str());
    }
    if (size == 32 && f.cmpCount != 3 && f.cmpCount != 4)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "32-bit pixels need three or four components.");
}

} // namespace

void DecodeRows(Reader& reader, const RowFormat& f, PLBmp& bmp)
{
    CheckPixelSize(f);
    const int64_t size = UnpackedRowSize(f);
    PLBmpLock lock(bmp, false, true);
    for (int y = 0; y < f.height; ++y) {
        const std::vector<uint8_t> row = ReadRowBytes(reader, f, size);
        if (f.pixelSize == 32)
            Expand32Row(row, f.width, f.cmpCount, bmp.GetRow32(y));
        else if (f.pixelSize == 16)
            Expand16Row(row, f.width, bmp.GetRow32(y));
        else if (f.pixelSize == 8)
            std::memcpy(bmp.GetRow(y), row.data(), static_cast<size_t>(f.width));
        else
            ExpandIndexRow(row, f.pixelSize, f.width, bmp.GetRow(y));
    }
}

void SkipRows(Reader& reader, const RowFormat& f)
{
    const int64_t rowBytes = EffectiveRowBytes(f);
    if (rowBytes < 8) {
        reader.Skip(rowBytes * f.height);
        return;
    }
    for (int y = 0; y < f.height; ++y)
        reader.Skip(ReadPackedLength(reader, rowBytes));
}

} // namespace pict
