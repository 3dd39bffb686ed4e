#include "imaging/filters/PLRotateKernels.h"

#include "imaging/bitmap/PLPixelCopy.h"

#include <algorithm>
#include <cstddef>

namespace {

constexpr int TileSide = 32;

struct SourcePosition {
    int x;
    int y;
};

SourcePosition SourceOf(int x, int y, int srcWidth, int srcHeight, int mode)
{
    switch (mode) {
    case 0:
        return { y, srcHeight - 1 - x };
    case 1:
        return { srcWidth - 1 - x, srcHeight - 1 - y };
    default:
        return { srcWidth - 1 - y, x };
    }
}

template <int Bytes> void RotateTiledBytes(const PLBmp& src, PLBmp& dst, int mode)
{
    const int width = dst.GetWidth();
    const int height = dst.GetHeight();
    for (int tileY = 0; tileY < height; tileY += TileSide) {
        const int endY = std::min(height, tileY + TileSide);
        for (int tileX = 0; tileX < width; tileX += TileSide) {
            const int endX = std::min(width, tileX + TileSide);
            for (int y = tileY; y < endY; ++y) {
                uint8_t* out = dst.GetRow(y) + static_cast<ptrdiff_t>(tileX) * Bytes;
                for (int x = tileX; x < endX; ++x, out += Bytes) {
                    const SourcePosition s = SourceOf(x, y, src.GetWidth(), src.GetHeight(), mode);
                    std::memcpy(out, src.GetRow(s.y) + static_cast<ptrdiff_t>(s.x) * Bytes, Bytes);
                }
            }
        }
    }
}

} // namespace

void PLRotateKernels::RotatePlain(const PLBmp& src, PLBmp& dst, int mode)
{
    const int bpp = src.GetBitsPerPixel();
    for (int y = 0; y < dst.GetHeight(); ++y) {
        uint8_t* out = dst.GetRow(y);
        for (int x = 0; x < dst.GetWidth(); ++x) {
            const SourcePosition s = SourceOf(x, y, src.GetWidth(), src.GetHeight(), mode);
            PLPixelCopy::CopyPixel(src.GetRow(s.y), s.x, out, x, bpp);
        }
    }
}

void PLRotateKernels::RotateTiled(const PLBmp& src, PLBmp& dst, int mode)
{
    switch (src.GetBitsPerPixel()) {
    case 8:
        RotateTiledBytes<1>(src, dst, mode);
        break;
    case 16:
        RotateTiledBytes<2>(src, dst, mode);
        break;
    case 24:
        RotateTiledBytes<3>(src, dst, mode);
        break;
    case 32:
        RotateTiledBytes<4>(src, dst, mode);
        break;
    default:
        RotatePlain(src, dst, mode);
        break;
    }
}
