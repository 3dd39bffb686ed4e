#include "imaging/raster/PLTGADecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

#include <algorithm>
#include <cstring>

using namespace raster;

namespace {

int BytesOf(int depth)
{
    return (depth + 7) / 8;
}

} // namespace

PLTGADecoder::~PLTGADecoder() = default;

void PLTGADecoder::Open(PLDataSource* pDataSrc)
{
    Trace(2, "Decoding TGA.\n");
    m_bHeaderValid = false;
    m_ColourMap.clear();
    const uint8_t* p = ReadBlock(*pDataSrc, 18);
    Header& h = m_Header;
    h.idLength = p[0];
    h.mapType = p[1];
    h.imageType = p[2];
    h.mapStart = LoadU16LE(p + 3);
    h.mapLength = LoadU16LE(p + 5);
    h.mapEntrySize = p[7];
    h.xOrigin = LoadU16LE(p + 8);
    h.yOrigin = LoadU16LE(p + 10);
    h.width = LoadU16LE(p + 12);
    h.height = LoadU16LE(p + 14);
    h.pixelDepth = p[16];
    h.descriptor = p[17];
    SkipBytes(*pDataSrc, h.idLength);
    CheckHeader();

    const int depth = h.pixelDepth;
    const bool grey = (h.imageType & 7) == 3;
    const bool palette8 = grey || (IsColourMapped() && depth == 8);
    bool alpha = depth == 32 || (depth == 16 && HasAlphaBit());
    if (IsColourMapped() && depth == 16)
        alpha = h.mapEntrySize == 32 || (h.mapEntrySize == 16 && HasAlphaBit());
    const int bpp = palette8 ? 8 : 32;
    CheckImageSize(h.width, h.height, bpp, "TGA decoder: Bad picture size.");
    SetInfo(PLCoord(h.width, h.height), bpp, PLCoord(0, 0), bpp == 32 && alpha, grey);
    m_bHeaderValid = true;
}

void PLTGADecoder::CheckHeader() const
{
    const Header& h = m_Header;
    switch (h.imageType) {
    case 1:
    case 2:
    case 3:
    case 9:
    case 10:
    case 11:
        break;
    default:
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Unknown TGA image type.");
    }
    const int depth = h.pixelDepth;
    bool depthOk = false;
    switch (h.imageType & 7) {
    case 1:
        depthOk = depth == 8 || depth == 16;
        break;
    case 2:
        depthOk = depth == 15 || depth == 16 || depth == 24 || depth == 32;
        break;
    default:
        depthOk = depth == 8;
        break;
    }
    if (!depthOk)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "TGA decoder: Pixel depth does not suit the image type.");
    if (h.mapType != 0) {
        const int size = h.mapEntrySize;
        if (size != 15 && size != 16 && size != 24 && size != 32)
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "TGA decoder: Unsupported colour map entry size.");
    }
}

PLPixel32 PLTGADecoder::DecodeColour(const uint8_t* p, int depth) const
{
    switch (depth) {
    case 15:
    case 16: {
        // x RRRRR GGGGG BBBBB, little-endian; the top bit is the alpha bit when the descriptor
        // gives the picture alpha bits.
        const unsigned v = LoadU16LE(p);
        const bool opaque = depth == 15 || !HasAlphaBit() || (v & 0x8000) != 0;
        return PLPixel32(static_cast<uint8_t>((v >> 7) & 0xF8), static_cast<uint8_t>((v >> 2) & 0xF8),
            static_cast<uint8_t>((v << 3) & 0xFF), opaque ? 255 : 0);
    }
    case 24:
        return PLPixel32(p[2], p[1], p[0], 255);
    default:
        return PLPixel32(p[2], p[1], p[0], p[3]);
    }
}

void PLTGADecoder::ReadColourMap(PLDataSource& source, PLBmp& bmp)
{
    const Header& h = m_Header;
    if (h.mapType == 0)
        return;
    const int entryBytes = BytesOf(h.mapEntrySize);
    const uint8_t* p = ReadBlock(source, int64_t { h.mapLength } * entryBytes);
    if (!IsColourMapped())
        return; // a map that the picture does not use is skipped
    const bool index16 = h.pixelDepth == 16;
    if (index16)
        m_ColourMap.assign(size_t { h.mapStart } + h.mapLength, PLPixel32(0, 0, 0, 255));
    for (int i = 0; i < h.mapLength; ++i, p += entryBytes) {
        const PLPixel32 colour = DecodeColour(p, h.mapEntrySize);
        const int index = h.mapStart + i;
        if (index16)
            m_ColourMap[static_cast<size_t>(index)] = colour;
        else
            bmp.SetPaletteEntry(index % 256, colour.GetR(), colour.GetG(), colour.GetB(), colour.GetA());
    }
}

void PLTGADecoder::StorePixel(uint8_t* row, int x, const uint8_t* p) const
{
    const int depth = m_Header.pixelDepth;
    if (GetBitsPerPixel() == 8) {
        row[x] = p[0];
        return;
    }
    auto* out = reinterpret_cast<PLPixel32*>(row);
    if (IsColourMapped()) {
        // A 16-bit index; indices outside the map are black.
        const size_t index = LoadU16LE(p);
        out[x] = index < m_ColourMap.size() ? m_ColourMap[index] : PLPixel32(0, 0, 0, 255);
        return;
    }
    out[x] = DecodeColour(p, depth);
}

void PLTGADecoder::ReadRow(PLDataSource& source, uint8_t* row, Packet* packet) const
{
    const int width = m_Header.width;
    const int pixelBytes = BytesOf(m_Header.pixelDepth);
    const bool mirrored = RightToLeft();
    const auto column = [=](int x) { return mirrored ? width - 1 - x : x; };
    if (!packet) {
        const uint8_t* p = ReadBlock(source, int64_t { width } * pixelBytes);
        for (int x = 0; x < width; ++x, p += pixelBytes)
            StorePixel(row, column(x), p);
        return;
    }
    // A packet that runs past the row's end goes on in the next row, as the format allows.
    for (int x = 0; x < width; ++x) {
        if (packet->left == 0) {
            const int h = ReadU8(source);
            packet->repeat = h >= 128;
            packet->left = packet->repeat ? h - 127 : h + 1;
            packet->value = ReadBlock(source, int64_t { packet->repeat ? 1 : packet->left } * pixelBytes);
        }
        StorePixel(row, column(x), packet->value);
        if (!packet->repeat)
            packet->value += pixelBytes;
        --packet->left;
    }
}

void PLTGADecoder::DecodeImage(PLBmp* pBmp)
{
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "TGA decoder: No picture is open.");
    PrepareBitmap(*pBmp, *this);
    if (IsGreyscale()) {
        pBmp->SetGrayPalette();
    } else if (GetBitsPerPixel() == 8) {
        const RasterPalette black = BlackPalette();
        pBmp->SetPalette(black.data());
    }
    ReadColourMap(*source, *pBmp);
    PLBmpLock lock(*pBmp, false, true);
    const bool topFirst = (m_Header.descriptor & 0x20) != 0;
    Packet packet;
    Packet* const rle = m_Header.imageType >= 9 ? &packet : nullptr;
    const int height = m_Header.height;
    for (int i = 0; i < height; ++i)
        ReadRow(*source, pBmp->GetRow(topFirst ? i : height - 1 - i), rle);
}

void PLTGADecoder::Close()
{
    m_bHeaderValid = false;
    m_ColourMap.clear();
    PLPicDecoder::Close();
}
