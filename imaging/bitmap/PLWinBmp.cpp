#include "imaging/bitmap/PLWinBmp.h"

#include "imaging/io/PLResourceModule.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int64_t HeaderBytes = sizeof(PLBitmapInfoHeader);

int64_t ColourTableEntries(int bpp)
{
    return bpp <= 15 ? int64_t(1) << bpp : 0;
}

} // namespace

PLWinBmp::PLWinBmp()
{
    Create(16, 16, 8, false, false);
}

PLWinBmp::~PLWinBmp()
{
    FreePixels();
}

int64_t PLWinBmp::MemoryInUse() const
{
    return static_cast<int64_t>(m_DibSize + sizeof(PLWinBmp));
}

std::unique_ptr<PLBmp> PLWinBmp::CreateOfSameKind() const
{
    return std::make_unique<PLWinBmp>();
}

void PLWinBmp::SwapStorage(PLBmp& other)
{
    auto& same = static_cast<PLWinBmp&>(other);
    std::swap(m_pDib, same.m_pDib);
    std::swap(m_DibSize, same.m_DibSize);
    std::swap(m_pBits, same.m_pBits);
}

int PLWinBmp::BytesPerRow() const
{
    return static_cast<int>(RowBytesFor(GetWidth(), m_bpp));
}

int64_t PLWinBmp::RowBytesFor(int width, int bpp)
{
    return (UnpaddedRowBytes(width, bpp) + 3) / 4 * 4;
}

int64_t PLWinBmp::BitsBytesFor(int width, int height, int bpp)
{
    return RowBytesFor(width, bpp) * static_cast<int64_t>(height);
}

int64_t PLWinBmp::DibBytesFor(int width, int height, int bpp)
{
    return HeaderBytes + 4 * ColourTableEntries(bpp) + BitsBytesFor(width, height, bpp);
}

const PLBitmapInfoHeader* PLWinBmp::GetBitmapInfo() const
{
    return reinterpret_cast<const PLBitmapInfoHeader*>(m_pDib.get());
}

void PLWinBmp::AllocatePixels(int width, int height, int bpp, bool hasAlpha, bool isGreyscale)
{
    CheckPictureSize(width, height, bpp);
    const auto size = static_cast<size_t>(DibBytesFor(width, height, bpp));
    // Rows below 8 bpp share bytes that a caller writing pixel by pixel may leave partly unwritten.
    const bool overwritten = PixelsWillBeOverwritten() && bpp >= 8;
    try {
        m_pDib = overwritten ? PLBmpPixelBlock::ForOverwrite(size) : PLBmpPixelBlock(size);
    } catch (const std::bad_alloc&) {
        FreePixels();
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating bitmap.");
    }
    m_DibSize = size;
    PLBitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(bpp);
    if (overwritten)
        ClearAllButPixels(width, height, bpp);
    std::memcpy(m_pDib.get(), &header, sizeof header);
    SetDibPointers();
    InitLocals(width, height, bpp, hasAlpha, isGreyscale);
}

void PLWinBmp::ClearAllButPixels(int width, int height, int bpp)
{
    const auto head = static_cast<size_t>(m_DibSize - BitsBytesFor(width, height, bpp));
    std::memset(m_pDib.get(), 0, head);
    const auto rowBytes = static_cast<size_t>(RowBytesFor(width, bpp));
    const auto pixelBytes = static_cast<size_t>(UnpaddedRowBytes(width, bpp));
    if (pixelBytes == rowBytes)
        return;
    for (uint8_t* row = m_pDib.get() + head; row < m_pDib.get() + m_DibSize; row += rowBytes)
        std::memset(row + pixelBytes, 0, rowBytes - pixelBytes);
}

void PLWinBmp::FreePixels()
{
    m_pDib.reset();
    m_DibSize = 0;
    m_pBits = nullptr;
    ForgetPixels();
}

void PLWinBmp::SetDibPointers()
{
    PLBitmapInfoHeader header;
    std::memcpy(&header, m_pDib.get(), sizeof header);
    const int64_t entries = ColourTableEntries(header.biBitCount);
    m_pClrTab = entries > 0 ? reinterpret_cast<PLPixel32*>(m_pDib.get() + HeaderBytes) : nullptr;
    m_pBits = m_pDib.get() + HeaderBytes + 4 * entries;
}

void PLWinBmp::BuildRowTable()
{
    const int64_t rowBytes = BytesPerRow();
    const int64_t height = static_cast<int64_t>(m_Rows.size());
    for (int64_t y = 0; y < height; ++y)
        m_Rows[static_cast<size_t>(y)] = m_pBits + (height - 1 - y) * rowBytes;
}

bool PLWinBmp::LoadResource(const PLResourceModule& module, int id)
{
    const auto* block = module.Find(PL_RT_BITMAP, id);
    if (!block)
        return false;
    // The block's bytes may lie anywhere; the header is read from an aligned copy.
    PLBitmapInfoHeader header;
    if (block->size() < sizeof header)
        throw PLTextException(PL_ERR_END_OF_FILE, "DIB block shorter than its header.");
    std::vector<uint8_t> aligned(*block);
    CreateFromDIB(reinterpret_cast<const PLBitmapInfoHeader*>(aligned.data()), aligned.size());
    return true;
}

void PLWinBmp::CreateFromDIB(const PLBitmapInfoHeader* dib, size_t blockSize)
{
    PLBitmapInfoHeader header;
    if (!dib || blockSize < sizeof header)
        throw PLTextException(PL_ERR_END_OF_FILE, "DIB block shorter than its header.");
    std::memcpy(&header, dib, sizeof header);
    const int bpp = header.biBitCount;
    if (header.biSize != sizeof header || header.biCompression != PL_BI_RGB || header.biHeight < 0
        || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Unsupported DIB format.");
    CheckPictureSize(header.biWidth, header.biHeight, bpp);
    // The block's colour table has biClrUsed entries, or 2^bpp up to 8 bpp when that is 0.
    const int64_t fullTable = ColourTableEntries(bpp);
    const int64_t entries = header.biClrUsed != 0 ? int64_t(header.biClrUsed) : (bpp <= 8 ? fullTable : 0);
    if (bpp <= 8 && entries > fullTable)
        throw PLTextException(PL_ERR_FORMAT_UNKNOWN, "DIB colour count too large for its depth.");
    const int64_t bitsBytes = BitsBytesFor(header.biWidth, header.biHeight, bpp);
    const int64_t needed = HeaderBytes + 4 * entries + bitsBytes;
    if (needed > static_cast<int64_t>(blockSize))
        throw PLTextException(PL_ERR_END_OF_FILE, "DIB block shorter than its header says.");

    const auto* bytes = reinterpret_cast<const uint8_t*>(dib);
    if (std::greater_equal<const uint8_t*>()(bytes, m_pDib.get())
        && std::less<const uint8_t*>()(bytes, m_pDib.get() + m_DibSize)) {
        // The block is this bitmap's own, which re-creating frees: read it from a copy.
        const std::vector<uint8_t> copy(bytes, bytes + needed);
        CreateFromDIB(reinterpret_cast<const PLBitmapInfoHeader*>(copy.data()), copy.size());
        return;
    }
    Create(header.biWidth, header.biHeight, bpp, false, false);
    if (m_pClrTab)
        std::memcpy(m_pClrTab, bytes + HeaderBytes, static_cast<size_t>(4 * entries));
    std::memcpy(m_pBits, bytes + HeaderBytes + 4 * entries, static_cast<size_t>(bitsBytes));
}

void PLWinBmp::AlphaBlit(const PLWinBmp& src, int x, int y)
{
    const bool srcOk = src.m_bpp == 32 || (src.m_bpp == 8 && src.m_pClrTab);
    if (m_bpp != 32 || !srcOk)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Alpha blit needs a 32-bpp target.");
    const int64_t firstCol = std::max<int64_t>(0, -int64_t(x));
    const int64_t endCol = std::min<int64_t>(src.GetWidth(), int64_t(GetWidth()) - x);
    const int64_t firstRow = std::max<int64_t>(0, -int64_t(y));
    const int64_t endRow = std::min<int64_t>(src.GetHeight(), int64_t(GetHeight()) - y);
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*this, false, true);
    // Memory row j of a block is row table entry height - 1 - j.
    for (int64_t j = firstRow; j < endRow; ++j) {
        const uint8_t* in = src.GetRow(static_cast<int>(src.GetHeight() - 1 - j));
        PLPixel32* out = GetRow32(static_cast<int>(GetHeight() - 1 - (j + y)));
        for (int64_t i = firstCol; i < endCol; ++i) {
            const PLPixel32 s
                = src.m_bpp == 32 ? reinterpret_cast<const PLPixel32*>(in)[i] : src.m_pClrTab[in[i]];
            PLPixel32& t = out[i + x];
            if (!src.m_bAlphaChannel) {
                t = s;
                continue;
            }
            const int a = s.GetA();
            const auto mix
                = [a](int sv, int tv) { return static_cast<uint8_t>((sv * a + tv * (255 - a)) >> 8); };
            t.Set(mix(s.GetR(), t.GetR()), mix(s.GetG(), t.GetG()), mix(s.GetB(), t.GetB()), t.GetA());
        }
    }
}
