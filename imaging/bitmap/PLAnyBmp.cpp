#include "imaging/bitmap/PLAnyBmp.h"

#include "imaging/io/PLTextException.h"

PLAnyBmp::PLAnyBmp()
{
    Create(16, 16, 8, false, false);
}

PLAnyBmp::~PLAnyBmp()
{
    FreePixels();
}

int64_t PLAnyBmp::MemoryInUse() const
{
    return MemoryFor(GetWidth(), GetHeight(), m_bpp);
}

std::unique_ptr<PLBmp> PLAnyBmp::CreateOfSameKind() const
{
    return std::make_unique<PLAnyBmp>();
}

void PLAnyBmp::SwapStorage(PLBmp& other)
{
    auto& same = static_cast<PLAnyBmp&>(other);
    std::swap(m_pBits, same.m_pBits);
    m_Palette.swap(same.m_Palette);
}

int PLAnyBmp::BytesPerRow() const
{
    return static_cast<int>(UnpaddedRowBytes(GetWidth(), m_bpp));
}

int64_t PLAnyBmp::BitsBytesFor(int width, int height, int bpp)
{
    return UnpaddedRowBytes(width, bpp) * static_cast<int64_t>(height);
}

int64_t PLAnyBmp::MemoryFor(int width, int height, int bpp)
{
    const int64_t palette = bpp <= 8 ? static_cast<int64_t>(sizeof(PLPixel32)) << bpp : 0;
    return BitsBytesFor(width, height, bpp) + palette + static_cast<int64_t>(sizeof(PLAnyBmp));
}

void PLAnyBmp::AllocatePixels(int width, int height, int bpp, bool hasAlpha, bool isGreyscale)
{
    CheckPictureSize(width, height, bpp);
    try {
        // Rows below 8 bpp share bytes that a caller writing pixel by pixel may leave unwritten.
        const auto bytes = static_cast<size_t>(BitsBytesFor(width, height, bpp));
        m_pBits = PixelsWillBeOverwritten() && bpp >= 8 ? PLBmpPixelBlock::ForOverwrite(bytes)
                                                        : PLBmpPixelBlock(bytes);
        if (bpp <= 8)
            m_Palette = std::make_unique<PLPixel32[]>(size_t(1) << bpp);
    } catch (const std::bad_alloc&) {
        FreePixels();
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating bitmap.");
    }
    m_pClrTab = m_Palette.get();
    InitLocals(width, height, bpp, hasAlpha, isGreyscale);
}

void PLAnyBmp::FreePixels()
{
    m_pBits.reset();
    m_Palette.reset();
    ForgetPixels();
}

void PLAnyBmp::BuildRowTable()
{
    const int64_t rowBytes = BytesPerRow();
    for (size_t y = 0; y < m_Rows.size(); ++y)
        m_Rows[y] = m_pBits.get() + static_cast<int64_t>(y) * rowBytes;
}
