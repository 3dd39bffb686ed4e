// Copies between bitmaps, conversions among 1, 8, 24 and 32 bits per pixel, and comparison.
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool IsConvertibleDepth(int bpp)
{
    return bpp == 1 || bpp == 8 || bpp == 24 || bpp == 32;
}

bool IsDark(const PLPixel32& p)
{
    return p.GetR() < 128 && p.GetG() < 128 && p.GetB() < 128;
}

} // namespace

PLPixel32 PLBmp::GetPixel32(int x, int y) const
{
    const uint8_t* row = GetRow(y);
    switch (m_bpp) {
    case 32:
        return reinterpret_cast<const PLPixel32*>(row)[x];
    case 24:
        return reinterpret_cast<const PLPixel24*>(row)[x];
    case 8:
    case 1: {
        const int index = m_bpp == 8 ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
        if (m_pClrTab)
            return m_pClrTab[index];
        const auto grey = static_cast<uint8_t>(m_bpp == 8 ? index : index * 255);
        return PLPixel32(grey, grey, grey, 255);
    }
    default:
        return PLPixel32();
    }
}

void PLBmp::CreateCopy(const PLBmp& src, int bpp)
{
    if (bpp == 0 || bpp == src.m_bpp) {
        if (&src != this)
            CopySameDepth(src);
        return;
    }
    if (!IsConvertibleDepth(bpp) || !IsConvertibleDepth(src.m_bpp))
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Unsupported bit depth conversion.");
    if (&src == this) {
        // Converting in place: the pixels are read from a copy, since re-creating frees them.
        PLAnyBmp copy;
        copy.CopySameDepth(*this);
        ConvertFrom(copy, bpp);
    } else {
        ConvertFrom(src, bpp);
    }
}

void PLBmp::CopySameDepth(const PLBmp& src)
{
    CheckPictureSize(src.GetWidth(), src.GetHeight(), src.m_bpp);
    FreePixels();
    // Every byte of every pixel is copied below, so the opaque fill would only be overwritten.
    WithoutOpaqueFill([&] {
        AllocatePixels(src.GetWidth(), src.GetHeight(), src.m_bpp, src.m_bAlphaChannel, src.m_bIsGreyscale);
    });
    PLBmpLock lockSrc(src, true, false);
    PLBmpLock lockDst(*this, false, true);
    const auto rowBytes = static_cast<size_t>(UnpaddedRowBytes(src.GetWidth(), src.m_bpp));
    for (int y = 0; y < src.GetHeight(); ++y)
        std::memcpy(GetRow(y), src.GetRow(y), rowBytes);
    if (m_bpp <= 8)
        CopyPaletteFrom(src);
    m_Resolution = src.m_Resolution;
}

void PLBmp::ConvertFrom(const PLBmp& src, int bpp)
{
    if (bpp == 8 && src.m_bpp != 1) {
        ConvertTo8Bpp(src);
    } else {
        Create(src.GetWidth(), src.GetHeight(), bpp, src.m_bAlphaChannel && bpp == 32,
            src.m_bIsGreyscale && bpp == 8);
        PLBmpLock lockSrc(src, true, false);
        PLBmpLock lockDst(*this, false, true);
        if (bpp == 1)
            ConvertTo1Bpp(src);
        else if (bpp == 8)
            ConvertTo8BppFrom1Bpp(src);
        else
            ConvertToTrueColor(src);
    }
    m_Resolution = src.m_Resolution;
}

void PLBmp::ConvertTo1Bpp(const PLBmp& src)
{
    SetPaletteEntry(0, 255, 255, 255, 255);
    SetPaletteEntry(1, 0, 0, 0, 255);
    const auto rowBytes = static_cast<size_t>(UnpaddedRowBytes(GetWidth(), 1));
    for (int y = 0; y < GetHeight(); ++y) {
        uint8_t* row = GetRow(y);
        std::memset(row, 0, rowBytes);
        for (int x = 0; x < GetWidth(); ++x)
            if (IsDark(src.GetPixel32(x, y)))
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
}

void PLBmp::ConvertTo8BppFrom1Bpp(const PLBmp& src)
{
    for (int i = 0; i < 2; ++i) {
        const PLPixel32 entry
            = src.m_pClrTab ? src.m_pClrTab[i] : (i == 0 ? PLPixel32(255, 255, 255) : PLPixel32(0, 0, 0));
        SetPaletteEntry(i, entry.GetR(), entry.GetG(), entry.GetB(), 255);
    }
    for (int y = 0; y < GetHeight(); ++y) {
        const uint8_t* in = src.GetRow(y);
        uint8_t* out = GetRow(y);
        for (int x = 0; x < GetWidth(); ++x)
            out[x] = (in[x / 8] >> (7 - x % 8)) & 1;
    }
}

void PLBmp::ConvertToTrueColor(const PLBmp& src)
{
    for (int y = 0; y < GetHeight(); ++y) {
        for (int x = 0; x < GetWidth(); ++x) {
            PLPixel32 p = src.GetPixel32(x, y);
            if (src.m_bpp == 24)
                p.SetA(255);
            if (m_bpp == 32)
                GetRow32(y)[x] = p;
            else
                GetRow24(y)[x] = p;
        }
    }
}

bool PLBmp::AlmostEqual(const PLBmp& other, int epsilon) const
{
    if (m_Size != other.m_Size || m_bAlphaChannel != other.m_bAlphaChannel
        || m_bIsGreyscale != other.m_bIsGreyscale || m_bpp != other.m_bpp
        || m_Resolution != other.m_Resolution)
        return false;
    const auto near = [epsilon](int a, int b) { return std::abs(a - b) <= epsilon; };
    const auto rowBytes = static_cast<size_t>(UnpaddedRowBytes(GetWidth(), m_bpp));
    for (int y = 0; y < GetHeight(); ++y) {
        const uint8_t* a = GetRow(y);
        const uint8_t* b = other.GetRow(y);
        if (m_bpp == 8) {
            for (int x = 0; x < GetWidth(); ++x)
                if (!near(a[x], b[x]))
                    return false;
        } else if (m_bpp == 32) {
            for (int x = 0; x < GetWidth(); ++x) {
                const PLPixel32 p = GetRow32(y)[x];
                const PLPixel32 q = other.GetRow32(y)[x];
                if (!near(p.GetR(), q.GetR()) || !near(p.GetG(), q.GetG()) || !near(p.GetB(), q.GetB())
                    || (m_bAlphaChannel && !near(p.GetA(), q.GetA())))
                    return false;
            }
        } else if (rowBytes > 0) {
            // Other depths compare exactly; bits past the row's last pixel do not count.
            const int tailBits = static_cast<int>(rowBytes * 8 - static_cast<size_t>(GetWidth()) * m_bpp);
            const auto lastMask = static_cast<uint8_t>(0xFF << tailBits);
            if (std::memcmp(a, b, rowBytes - 1) != 0 || ((a[rowBytes - 1] ^ b[rowBytes - 1]) & lastMask) != 0)
                return false;
        }
    }
    if (m_bpp <= 8 && m_pClrTab && other.m_pClrTab)
        for (int i = 0; i < GetNumColors(); ++i) {
            const PLPixel32 p = m_pClrTab[i];
            const PLPixel32 q = other.m_pClrTab[i];
            if (!near(p.GetR(), q.GetR()) || !near(p.GetG(), q.GetG()) || !near(p.GetB(), q.GetB()))
                return false;
        }
    return true;
}
