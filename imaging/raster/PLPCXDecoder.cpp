#include "imaging/raster/PLPCXDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace raster;

namespace {

// The run-length stream of the pixels, expanded a line at a time: a byte below 192 is itself,
// any other gives (its low 6 bits) copies of the next byte. Runs may cross lines.
class PcxRuns {
public:
    PcxRuns(const uint8_t* data, int64_t size, int64_t total)
        : m_pData(data)
        , m_Size(size)
        , m_Left(total)
    {
    }

    // Writes the next n bytes to out, or passes over them when out is null. When the data ends
    // the expansion stops quietly and the bytes not reached keep their value.
    void Fill(uint8_t* out, int64_t n)
    {
        int64_t i = 0;
        while (i < n) {
            if (m_Pending > 0) {
                const int64_t k = std::min<int64_t>(m_Pending, n - i);
                if (out)
                    std::memset(out + i, m_Value, static_cast<size_t>(k));
                i += k;
                m_Pending -= static_cast<int>(k);
                continue;
            }
            if (m_Pos >= m_Size)
                return;
            const uint8_t b = m_pData[m_Pos++];
            if (b < 192) {
                if (out)
                    out[i] = b;
                ++i;
                --m_Left;
                continue;
            }
            if (m_Pos >= m_Size)
                return;
            const int count = b & 0x3F;
            if (count > m_Left)
                PLPicDecoder::RaiseError(PL_ERR_INTERNAL, "repeat count spans end of image.");
            m_Value = m_pData[m_Pos++];
            m_Pending = count;
            m_Left -= count;
        }
    }

    int64_t Position() const { return m_Pos; }

private:
    const uint8_t* m_pData;
    int64_t m_Size;
    int64_t m_Pos = 0;
    int64_t m_Left; // bytes of the picture still to fill
    int m_Pending = 0;
    uint8_t m_Value = 0;
};

// Palette index of pixel x of a one-plane line of the given bits per pixel (high bits first).
uint8_t IndexAt(const uint8_t* line, int64_t x, int bits)
{
    switch (bits) {
    case 8:
        return line[x];
    case 4:
        return (x & 1) ? line[x >> 1] & 0x0F : line[x >> 1] >> 4;
    case 2:
        return (line[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    default:
        return (line[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

} // namespace

PLPCXDecoder::~PLPCXDecoder() = default;

void PLPCXDecoder::Open(PLDataSource* pDataSrc)
{
    Trace(2, "Decoding PCX.\n");
    m_bHeaderValid = false;
    const uint8_t* p = ReadBlock(*pDataSrc, 128);
    Header& h = m_Header;
    h.manufacturer = p[0];
    h.version = p[1];
    h.encoding = p[2];
    h.bitsPerPixel = p[3];
    h.xMin = LoadU16LE(p + 4);
    h.yMin = LoadU16LE(p + 6);
    h.xMax = LoadU16LE(p + 8);
    h.yMax = LoadU16LE(p + 10);
    h.hRes = LoadU16LE(p + 12);
    h.vRes = LoadU16LE(p + 14);
    std::memcpy(h.colourMap, p + 16, sizeof h.colourMap);
    h.planes = p[65];
    h.bytesPerLine = LoadU16LE(p + 66);
    h.paletteInfo = LoadU16LE(p + 68);
    CheckHeader();
    SetInfo(PLCoord(h.xMax - h.xMin + 1, h.yMax - h.yMin + 1), 32, PLCoord(h.hRes, h.vRes), false, false);
    m_bHeaderValid = true;
}

void PLPCXDecoder::CheckHeader() const
{
    const Header& h = m_Header;
    if (h.manufacturer != 10)
        RaiseError(PL_ERR_WRONG_SIGNATURE, "Error decoding pcx: Not a PCX file.");
    if (h.encoding != 1)
        RaiseError(PL_ERR_WRONG_SIGNATURE, "File has unknown encoding scheme.");
    if (h.bitsPerPixel == 1 && h.planes > 4)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Can't handle image with more than 4 planes.");
    // One bit in 1 to 4 planes; 2, 4 and 8 bits in one plane or three (2 and 4 bits in three
    // planes are refused when decoding).
    const int bits = h.bitsPerPixel;
    const bool known = (bits == 1 && h.planes >= 1)
        || ((bits == 2 || bits == 4 || bits == 8) && (h.planes == 1 || h.planes == 3));
    if (!known)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Can't handle bits per pixel image with planes.");
    if (h.xMax < h.xMin || h.yMax < h.yMin)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "PCX decoder: Bad picture size.");
    const int64_t width = int64_t { h.xMax } - h.xMin + 1;
    const int64_t height = int64_t { h.yMax } - h.yMin + 1;
    if (h.bytesPerLine < (width * bits + 7) / 8)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "PCX decoder: Bytes per line do not cover the width.");
    CheckImageSize(width, height, 32, "PCX decoder: Bad picture size.");
}

void PLPCXDecoder::DecodeImage(PLBmp* pBmp)
{
    Trace(2, "PCX getimage.\n");
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "PCX decoder: No picture is open.");
    PrepareBitmap(*pBmp, *this);
    const Header& h = m_Header;
    // Planes of more than one bit make an index only at 8 bits (three colour planes).
    if (h.planes > 1 && h.bitsPerPixel != 1 && h.bitsPerPixel != 8)
        RaiseError(PL_ERR_INTERNAL, "Can't handle more than 1 bit per pixel.");
    const int64_t bpl = h.bytesPerLine;
    const int64_t lineBytes = bpl * h.planes;
    const int width = GetWidth();
    const int height = GetHeight();
    const uint8_t* data = source->GetRemainingData();
    const int64_t size = source->GetBytesLeft();

    RasterPalette palette = BlackPalette();
    for (int i = 0; i < 16; ++i)
        palette[static_cast<size_t>(i)].Set(
            h.colourMap[3 * i], h.colourMap[3 * i + 1], h.colourMap[3 * i + 2]);
    int64_t consumed = 0;
    if (h.bitsPerPixel == 8 && h.planes == 1) {
        // The 256-colour map follows the pixels, behind one marker byte: find where they end.
        PcxRuns scan(data, size, lineBytes * height);
        scan.Fill(nullptr, lineBytes * height);
        const int64_t at = scan.Position() + 1;
        if (at + 768 > size)
            throw PLTextException(PL_ERR_END_OF_FILE, "End of file reached while decoding.\n");
        for (int i = 0; i < 256; ++i)
            palette[static_cast<size_t>(i)].Set(data[at + 3 * i], data[at + 3 * i + 1], data[at + 3 * i + 2]);
        consumed = at + 768;
    } else if (h.bitsPerPixel == 1 && h.planes == 1) {
        palette[0].Set(0, 0, 0);
        palette[1].Set(255, 255, 255);
    }

    PcxRuns runs(data, size, lineBytes * height);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    PLBmpLock lock(*pBmp, false, true);
    for (int y = 0; y < height; ++y) {
        std::fill(line.begin(), line.end(), uint8_t { 0 });
        runs.Fill(line.data(), lineBytes);
        PLPixel32* out = pBmp->GetRow32(y);
        if (h.bitsPerPixel == 8 && h.planes == 3) {
            const uint8_t* red = line.data();
            for (int x = 0; x < width; ++x)
                out[x].Set(red[x], red[x + bpl], red[x + 2 * bpl], 255);
        } else if (h.planes == 1) {
            for (int x = 0; x < width; ++x)
                out[x] = palette[IndexAt(line.data(), x, h.bitsPerPixel)];
        } else {
            // One bit in each plane; plane p gives bit p of the index.
            for (int x = 0; x < width; ++x) {
                unsigned index = 0;
                for (int plane = 0; plane < h.planes; ++plane)
                    index |= static_cast<unsigned>(IndexAt(line.data() + plane * bpl, x, 1)) << plane;
                out[x] = palette[index];
            }
        }
    }
    SkipBytes(*source, std::max(consumed, runs.Position()));
}

void PLPCXDecoder::Close()
{
    m_bHeaderValid = false;
    PLPicDecoder::Close();
}
