#include "imaging/bitmap/PLBmp.h"

#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>
#include <typeinfo>
#include <utility>
#include <vector>

namespace {

// True when p points into the rows of the bitmap, the pixels that re-creating it frees.
bool PointsIntoRows(const PLBmp& bmp, const uint8_t* p)
{
    if (bmp.GetHeight() <= 0)
        return false;
    const uint8_t* first = bmp.GetRow(0);
    const uint8_t* last = bmp.GetRow(bmp.GetHeight() - 1);
    const uint8_t* low = std::min(first, last, std::less<const uint8_t*>());
    const uint8_t* high = std::max(first, last, std::less<const uint8_t*>());
    return std::greater_equal<const uint8_t*>()(p, low)
        && std::less<const uint8_t*>()(p, high + bmp.BytesPerRow());
}

} // namespace

void PLBmp::CreateFromInfo(const PLBmpInfo& info)
{
    Create(info.GetWidth(), info.GetHeight(), info.GetBitsPerPixel(), info.HasAlpha(), info.IsGreyscale(),
        nullptr, 0, info.GetResolution());
}

void PLBmp::Create(int width, int height, int bpp, bool hasAlpha, bool isGreyscale, const uint8_t* bits,
    int stride, const PLCoord& resolution)
{
    CheckPictureSize(width, height, bpp);
    if (bits && PointsIntoRows(*this, bits)) {
        // The bits are this bitmap's own pixels, which re-creating frees: take them from a packed copy.
        const auto rowBytes = static_cast<size_t>(UnpaddedRowBytes(width, bpp));
        const auto step = stride != 0 ? static_cast<ptrdiff_t>(stride) : static_cast<ptrdiff_t>(rowBytes);
        std::vector<uint8_t> staged(rowBytes * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            std::memcpy(staged.data() + static_cast<size_t>(y) * rowBytes, bits + y * step, rowBytes);
        Create(width, height, bpp, hasAlpha, isGreyscale, staged.data(), 0, resolution);
        return;
    }
    FreePixels();
    AllocatePixels(width, height, bpp, hasAlpha, isGreyscale);
    m_Resolution = resolution;
    if (!bits)
        return;
    const auto rowBytes = static_cast<size_t>(UnpaddedRowBytes(width, bpp));
    const auto step = stride != 0 ? static_cast<ptrdiff_t>(stride) : static_cast<ptrdiff_t>(rowBytes);
    PLBmpLock lock(*this, false, true);
    for (int y = 0; y < height; ++y)
        std::memcpy(GetRow(y), bits + y * step, rowBytes);
}

void PLBmp::SwapPicture(PLBmp& other)
{
    if (&other == this)
        return;
    if (typeid(other) != typeid(*this)) {
        CreateCopy(other, 0);
        return;
    }
    std::swap(static_cast<PLBmpInfo&>(*this), static_cast<PLBmpInfo&>(other));
    m_Rows.swap(other.m_Rows);
    std::swap(m_pClrTab, other.m_pClrTab);
    SwapStorage(other);
}

void PLBmp::CreateForOverwrite(
    int width, int height, int bpp, bool hasAlpha, bool isGreyscale, const PLCoord& resolution)
{
    WithoutOpaqueFill([&] { Create(width, height, bpp, hasAlpha, isGreyscale, nullptr, 0, resolution); });
}

void PLBmp::Lock(bool, bool) const
{
    ++m_LockCount;
}

void PLBmp::Unlock() const
{
    --m_LockCount;
}

int PLBmp::GetNumColors() const
{
    if (m_bpp >= 24)
        return 1 << 24;
    return m_bpp > 0 ? 1 << m_bpp : 1;
}

void PLBmp::SetPalette(const PLPixel32* entries)
{
    if (m_pClrTab && entries)
        std::copy_n(entries, GetNumColors(), m_pClrTab);
}

void PLBmp::SetPaletteEntry(int index, uint8_t r, uint8_t g, uint8_t b, uint8_t a)
{
    if (m_pClrTab && index >= 0 && index < GetNumColors())
        m_pClrTab[index].Set(r, g, b, a);
}

void PLBmp::SetGrayPalette()
{
    if (!m_pClrTab)
        return;
    const int n = GetNumColors();
    const int step = n > 1 ? 255 / (n - 1) : 0;
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<uint8_t>(i * step);
        m_pClrTab[i].Set(v, v, v, 255);
    }
}

void PLBmp::CopyPaletteFrom(const PLBmp& other)
{
    if (other.m_bpp <= 8 && other.m_pClrTab && m_pClrTab)
        std::copy_n(other.m_pClrTab, std::min(other.GetNumColors(), GetNumColors()), m_pClrTab);
}

int PLBmp::FindNearestColor(PLPixel32 colour) const
{
    if (!m_pClrTab)
        return 0;
    int best = 0;
    int bestDist = 100000;
    for (int i = 0; i < GetNumColors(); ++i) {
        const int dist = colour.BoxDist(m_pClrTab[i]);
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    return best;
}

void PLBmp::SetHasAlpha(bool hasAlpha)
{
    if (hasAlpha && !m_bAlphaChannel) {
        if (m_bpp == 32) {
            PLBmpLock lock(*this, true, true);
            for (int y = 0; y < GetHeight(); ++y)
                for (int x = 0; x < GetWidth(); ++x)
                    GetRow32(y)[x].SetA(255);
        } else if (m_pClrTab) {
            for (int i = 0; i < GetNumColors(); ++i)
                m_pClrTab[i].SetA(255);
        } else {
            return;
        }
    }
    m_bAlphaChannel = hasAlpha;
}

void PLBmp::SetAlphaChannel(const PLBmp& alpha)
{
    if (m_bpp != 32 || alpha.m_bpp != 8 || alpha.m_Size != m_Size)
        return;
    PLBmpLock lockSrc(alpha, true, false);
    PLBmpLock lockDst(*this, false, true);
    for (int y = 0; y < GetHeight(); ++y)
        for (int x = 0; x < GetWidth(); ++x)
            GetRow32(y)[x].SetA(alpha.GetRow(y)[x]);
    m_bAlphaChannel = true;
}

void PLBmp::SetQuantizationMode(int ditherType, int paletteType)
{
    m_DitherType = ditherType;
    m_PaletteType = paletteType;
}

int64_t PLBmp::UnpaddedRowBytes(int64_t width, int bpp)
{
    return (width * bpp + 7) / 8;
}

void PLBmp::CheckPictureSize(int64_t width, int64_t height, int bpp)
{
    switch (bpp) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Unsupported bit depth.");
    }
    if (width < 0 || height < 0)
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating bitmap.");
    // The library's own cap, not a failed allocation: memory may well be there.
    if (width > PL_MAX_SIDE || height > PL_MAX_SIDE || width * height > PL_MAX_PIXELS)
        throw PLTextException(PL_ERR_DIB_TOO_LARGE, "Bitmap larger than the library accepts.");
}

void PLBmp::InitLocals(int width, int height, int bpp, bool hasAlpha, bool isGreyscale)
{
    SetInfo(PLCoord(width, height), bpp, PLCoord(0, 0), hasAlpha, isGreyscale);
    try {
        m_Rows.assign(static_cast<size_t>(height), nullptr);
    } catch (const std::bad_alloc&) {
        FreePixels();
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory initialising line array.");
    }
    BuildRowTable();
    if (bpp == 32 && m_bFillOpaque)
        for (int y = 0; y < height; ++y)
            std::fill_n(GetRow32(y), width, PLPixel32(0, 0, 0, 255));
    if (bpp < 16)
        SetGrayPalette();
}

void PLBmp::ForgetPixels()
{
    m_Rows.clear();
    m_Rows.shrink_to_fit();
    m_pClrTab = nullptr;
    m_Size = PLCoord(0, 0);
}
