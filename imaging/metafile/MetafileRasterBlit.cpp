// Blits under ternary raster operations that no drawing mode of the canvas gives: the source
// picture sampled onto the output pixels, with the brush, combined with the picture pixel by pixel.
#include "imaging/metafile/MetafilePlayer.h"
#include "imaging/metafile/RasterOperation.h"

#include <algorithm>
#include <cmath>

namespace metafile {
namespace {

// The source index (from first, count long) that output pixel `at` shows, the source running from
// the output position `from` to `to`.
int SourceIndex(int at, double from, double to, int first, int count)
{
    const double along = (at + 0.5 - from) / (to - from);
    const auto index = static_cast<int64_t>(std::floor(along * count));
    return first + static_cast<int>(std::clamp<int64_t>(index, 0, count - 1));
}

} // namespace

bool MetafilePlayer::SpendPixelWork(int64_t pixels)
{
    const int64_t limit = kPixelWorkPerPixel * std::max<int64_t>(int64_t(m_width) * m_height, 1);
    if (pixels > limit - m_pixelWork)
        return false;
    m_pixelWork += pixels;
    return true;
}

bool MetafilePlayer::RasterBlitOf(uint32_t rop, PointD corner, PointD opposite, const gdi::DibView* view,
    int srcX, int srcY, int srcWidth, int srcHeight)
{
    const uint8_t index = RopIndex(rop);
    const bool withSource = UsesSource(index);
    if (withSource && (view == nullptr || srcWidth <= 0 || srcHeight <= 0))
        return false;
    if (m_inPath)
        return true;
    const auto [left, right] = PixelSpan(corner.x, opposite.x, m_width);
    const auto [top, bottom] = PixelSpan(corner.y, opposite.y, m_height);
    RasterBlit blit { left, top, right - left, bottom - top, index, {}, Brush() };
    if (blit.width <= 0 || blit.height <= 0 || (UsesPattern(index) && !blit.pattern.visible))
        return true; // nothing in the picture, or a null brush that paints nothing
    if (!SpendPixelWork(int64_t(blit.width) * blit.height))
        return true;
    if (withSource) {
        blit.source.reserve(size_t(blit.width) * size_t(blit.height));
        for (int y = top; y < bottom; ++y) {
            const int row = SourceIndex(y, corner.y, opposite.y, srcY, srcHeight);
            for (int x = left; x < right; ++x)
                blit.source.push_back(view->PixelColor(
                    uint64_t(SourceIndex(x, corner.x, opposite.x, srcX, srcWidth)), uint64_t(row)));
        }
    }
    Sync();
    m_canvas.Blit(blit);
    return true;
}

} // namespace metafile
