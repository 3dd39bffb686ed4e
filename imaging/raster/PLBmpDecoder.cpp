#include "imaging/raster/PLBmpDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/BmpBitFields.h"
#include "imaging/raster/BmpRle.h"
#include "imaging/raster/BmpRows.h"

#include <algorithm>
#include <climits>

using namespace raster;

namespace {

constexpr uint32_t kBitFields = 3;

bool IsBitmapSignature(const uint8_t* sig)
{
    static constexpr const char* kSignatures[] = { "BA", "IC", "CI", "BM", "CP" };
    return std::any_of(std::begin(kSignatures), std::end(kSignatures),
        [sig](const char* s) { return sig[0] == s[0] && sig[1] == s[1]; });
}

// Dots per inch from pixels per metre; a result of 1 or less is unknown.
int32_t DotsPerInch(int32_t pelsPerMeter)
{
    if (pelsPerMeter < 1)
        return 0;
    const auto dpi = static_cast<int32_t>(pelsPerMeter / 39.37 + 0.5);
    return dpi <= 1 ? 0 : dpi;
}

} // namespace

PLBmpDecoder::~PLBmpDecoder() = default;

void PLBmpDecoder::Open(PLDataSource* pDataSrc)
{
    m_bHeaderValid = false;
    m_Palette = BlackPalette();
    PLDataSource& source = *pDataSrc;
    const int64_t start = source.GetPosition();
    const uint8_t* sig = ReadBlock(source, 2);
    // Bitmap arrays: each 14-byte array header is followed by the next signature.
    while (sig[0] == 'B' && sig[1] == 'A') {
        SkipBytes(source, 12);
        sig = ReadBlock(source, 2);
    }
    if (!IsBitmapSignature(sig))
        RaiseError(PL_ERR_WRONG_SIGNATURE, "Bitmap decoder: This isn't a bitmap.");
    Trace(2, "Bitmap file signature found\n");
    SkipBytes(source, 8); // file size and two reserved values
    const uint32_t dataOffset = ReadU32LE(source);

    InfoHeader header;
    ReadInfoHeader(source, header);
    // The pixels start at the data offset, counted from the file's start. An offset that points
    // back into the headers is taken to mean "right after them".
    const int64_t pixelStart = start + static_cast<int64_t>(dataOffset);
    if (header.bitCount <= 8)
        ReadPalette(source, header, header.size == 12 ? 3 : 4, pixelStart);
    SkipBytes(source, pixelStart - source.GetPosition());

    // Alpha comes from the fourth byte of plain 32-bit files and from the alpha mask of bit-field
    // files, never from bits no mask names. Pictures whose alpha is 0 throughout are opaque
    // pictures, not transparent ones.
    m_AlphaMask = 0;
    if (header.bitCount == 32 && header.compression == 0)
        m_AlphaMask = 0xFF000000u;
    else if (header.bitCount >= 16 && header.compression == kBitFields)
        m_AlphaMask = header.masks[3];
    m_bFileAlpha = m_AlphaMask != 0 && HasNonZeroAlpha(source, header, m_AlphaMask);
    Describe(header);
    m_Header = header;
    m_bHeaderValid = true;
    Trace(2, "Bitmap header is ok.\n");
}

void PLBmpDecoder::ReadInfoHeader(PLDataSource& source, InfoHeader& header)
{
    header.size = ReadU32LE(source);
    if (header.size == 12) {
        const uint8_t* p = ReadBlock(source, 8);
        header.width = LoadU16LE(p);
        header.height = LoadU16LE(p + 2);
        header.planes = LoadU16LE(p + 4);
        header.bitCount = LoadU16LE(p + 6);
    } else if (header.size < 40) {
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Bitmap decoder: Unsupported info header size.");
    } else {
        const uint8_t* p = ReadBlock(source, int64_t { header.size } - 4);
        header.width = static_cast<int32_t>(LoadU32LE(p));
        const auto height = static_cast<int32_t>(LoadU32LE(p + 4));
        if (height == INT32_MIN)
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "Bitmap decoder: Bad picture size.");
        header.height = height;
        header.planes = LoadU16LE(p + 8);
        header.bitCount = LoadU16LE(p + 10);
        header.compression = LoadU32LE(p + 12);
        header.imageSize = LoadU32LE(p + 16);
        header.xPelsPerMeter = static_cast<int32_t>(LoadU32LE(p + 20));
        header.yPelsPerMeter = static_cast<int32_t>(LoadU32LE(p + 24));
        header.colorsUsed = LoadU32LE(p + 28);
        header.colorsImportant = LoadU32LE(p + 32);
        if (header.size >= 52) {
            // Later header versions hold the masks themselves, from 56 bytes on the alpha mask too.
            const int count = header.size >= 56 ? 4 : 3;
            for (int i = 0; i < count; ++i)
                header.masks[i] = LoadU32LE(p + 36 + 4 * i);
        } else if (header.compression == kBitFields && (header.bitCount == 16 || header.bitCount == 32)) {
            for (int i = 0; i < 3; ++i)
                header.masks[i] = ReadU32LE(source);
        }
    }
    // A negative height stores the rows from the top.
    m_bTopDown = header.height < 0;
    header.height = m_bTopDown ? -header.height : header.height;
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Decoding bmp: Illegal bpp value.");
    }
    // Compressions this decoder does not know (embedded JPEG or PNG pictures, OS/2 Huffman and RLE24)
    // would otherwise be read as plain pixels.
    const bool plain = header.compression == 0 || header.compression == kBitFields;
    if ((header.bitCount == 1 && header.compression != 0) || (header.bitCount >= 16 && !plain))
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Bitmap decoder: Unsupported compression.");
    CheckImageSize(
        header.width, header.height, header.bitCount <= 8 ? 8 : 32, "Bitmap decoder: Bad picture size.");
}

void PLBmpDecoder::ReadPalette(
    PLDataSource& source, const InfoHeader& header, int entryBytes, int64_t pixelStart)
{
    Trace(3, "Reading palette.\n");
    // Below 8 bits a pixel the table has an entry for every index, whatever "colours used" says.
    const bool full = header.colorsUsed == 0 || header.bitCount < 8;
    int64_t count = full ? int64_t { 1 } << header.bitCount : int64_t { header.colorsUsed };
    // A palette shorter than the count says ends where the pixels start.
    const int64_t room = pixelStart - source.GetPosition();
    if (room > 0)
        count = std::min(count, room / entryBytes);
    // The store holds 256 entries; entries beyond them are passed over by the data offset.
    const int64_t kept = std::min<int64_t>(count, 256);
    const uint8_t* p = ReadBlock(source, kept * entryBytes);
    for (int64_t i = 0; i < kept; ++i, p += entryBytes)
        m_Palette[static_cast<size_t>(i)].Set(p[2], p[1], p[0], 255);
}

void PLBmpDecoder::Describe(const InfoHeader& header)
{
    SetInfo(PLCoord(static_cast<int32_t>(header.width), static_cast<int32_t>(header.height)),
        header.bitCount <= 8 ? 8 : 32,
        PLCoord(DotsPerInch(header.xPelsPerMeter), DotsPerInch(header.yPelsPerMeter)), m_bFileAlpha, false);
}

bool PLBmpDecoder::HasNonZeroAlpha(PLDataSource& source, const InfoHeader& header, uint32_t alphaMask)
{
    const int pixelBytes = header.bitCount / 8;
    const int64_t rowBytes = (header.width * header.bitCount + 31) / 32 * 4;
    const int64_t left = source.GetBytesLeft();
    const uint8_t* data = source.GetRemainingData();
    for (int64_t y = 0; y < header.height && (y + 1) * rowBytes <= left; ++y) {
        const uint8_t* p = data + y * rowBytes;
        for (int64_t x = 0; x < header.width; ++x, p += pixelBytes)
            if (((pixelBytes == 2 ? LoadU16LE(p) : LoadU32LE(p)) & alphaMask) != 0)
                return true;
    }
    return false;
}

int PLBmpDecoder::TargetRow(int64_t storedRow) const
{
    return static_cast<int>(m_bTopDown ? storedRow : m_Header.height - 1 - storedRow);
}

void PLBmpDecoder::DecodeImage(PLBmp* pBmp)
{
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "Bitmap decoder: No bitmap is open.");
    PrepareBitmap(*pBmp, *this);
    if (GetBitsPerPixel() == 8)
        pBmp->SetPalette(m_Palette.data());
    PLBmpLock lock(*pBmp, false, true);
    const bool compressed = m_Header.compression != 0;
    if (m_Header.bitCount == 4 && compressed)
        DecodeRle(*source, *pBmp, true);
    else if (m_Header.bitCount == 8 && compressed)
        DecodeRle(*source, *pBmp, false);
    else
        DecodeUncompressed(*source, *pBmp);
}

void PLBmpDecoder::DecodeUncompressed(PLDataSource& source, PLBmp& bmp) const
{
    const int64_t width = m_Header.width;
    const int bits = m_Header.bitCount;
    // Every stored row is padded to a multiple of 4 bytes.
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    TraceLayout(bits);
    const uint32_t alphaMask = m_bFileAlpha ? m_AlphaMask : 0;
    const bmpbits::Masks masks { m_Header.masks[0], m_Header.masks[1], m_Header.masks[2], alphaMask };
    const bool bitFields = m_Header.compression == kBitFields;
    const bmprows::Layout16 layout16 = bmprows::LayoutOf16(bitFields, masks);
    for (int64_t i = 0; i < m_Header.height; ++i) {
        const uint8_t* row = ReadBlock(source, rowBytes);
        uint8_t* out = bmp.GetRow(TargetRow(i));
        auto* pixels = reinterpret_cast<PLPixel32*>(out);
        if (bits <= 8)
            bmprows::IndexRow(row, out, width, bits);
        else if (bits == 16)
            bmprows::Row16(row, pixels, width, layout16, masks);
        else if (bits == 24)
            bmprows::Row24(row, pixels, width);
        else if (bitFields)
            bmpbits::DecodeRow(row, pixels, width, 4, masks);
        else
            bmprows::Row32(row, pixels, width, m_bFileAlpha);
    }
}

void PLBmpDecoder::TraceLayout(int bits)
{
    switch (bits) {
    case 1:
        Trace(2, "Decoding 1 bit per pixel bitmap.\n");
        break;
    case 4:
        Trace(2, "Decoding uncompressed 4 bit per pixel bitmap.\n");
        break;
    case 8:
        Trace(2, "Decoding uncompressed 8 bit per pixel bitmap.\n");
        break;
    case 16:
        Trace(2, "Decoding true-color bitmap.\n");
        break;
    default:
        break;
    }
}

void PLBmpDecoder::DecodeRle(PLDataSource& source, PLBmp& bmp, bool rle4) const
{
    Trace(2, rle4 ? "Decoding RLE4-compressed bitmap.\n" : "Decoding RLE8-compressed bitmap.\n");
    // The stream is read from the source (code 11 when it ends first) into the bitmap's rows.
    struct Target : bmprle::RleTarget {
        PLDataSource& source;
        PLBmp& bmp;
        const PLBmpDecoder& decoder;
        Target(PLDataSource& s, PLBmp& b, const PLBmpDecoder& d)
            : source(s)
            , bmp(b)
            , decoder(d)
        {
        }
        const uint8_t* Next(int64_t n) override { return ReadBlock(source, n); }
        uint8_t* Row(int64_t storedRow) override { return bmp.GetRow(decoder.TargetRow(storedRow)); }
    } target(source, bmp, *this);
    // The rows after the end of the bitmap keep their zeroes.
    if (bmprle::DecodeRle(target, m_Header.width, m_Header.height, rle4, false) == bmprle::RleEnd::Delta)
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "Encountered delta escape.");
}

void PLBmpDecoder::Close()
{
    m_bHeaderValid = false;
    PLPicDecoder::Close();
}
