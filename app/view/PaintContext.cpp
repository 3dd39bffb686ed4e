#include "app/view/PaintContext.h"

#include "imaging/io/PLTextException.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <memory>
#include <new>

win::SIZE DeviceExtent(const PaintContext& context, int32_t x, int32_t y, int32_t width, int32_t height)
{
    win::POINT corners[2] = { { x, y },
        { win::SaturateToInt32(int64_t { x } + width), win::SaturateToInt32(int64_t { y } + height) } };
    context.dc.LPtoDP(corners, 2);
    return { win::SaturateToInt32(int64_t { corners[1].x } - corners[0].x),
        win::SaturateToInt32(int64_t { corners[1].y } - corners[0].y) };
}

namespace {

// Turns the bitmap's rows over in place, so that its stored rows run from the picture's top: drawn
// upside down, it then reaches a PDF file (printing goes through one) with no copy made on the way.
void TurnRowsOver(PLWinBmp& bitmap)
{
    const int width = bitmap.GetWidth();
    for (int top = 0, bottom = bitmap.GetHeight() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(bitmap.GetRow32(top), bitmap.GetRow32(top) + width, bitmap.GetRow32(bottom));
}

// A print draws each picture once, mostly at more device pixels than the picture has: a 32-bit
// picture that stands as drawn is drawn from its own rows (its copy would hold the same pixels),
// any other from a copy made for this draw alone and let go after it. Keeping print copies would
// hold a full-size copy of every printed picture until the job ends.
void DrawPrintedPicture(const PaintContext& context, const Pellimar::DeviceIndepBitmap& picture,
    int quarterTurns, int32_t x, int32_t y, int32_t width, int32_t height)
{
    const win::SIZE extent = DeviceExtent(context, x, y, width, height);
    const PLWinBmp& source = *picture.GetBitmap();
    const win::SIZE size = DisplayCopySize(source, quarterTurns, extent.cx, extent.cy);
    if (size.cx < 1 || size.cy < 1)
        return;
    if (win::NormalQuarterTurns(quarterTurns) == 0 && source.GetBitsPerPixel() == 32
        && size.cx == source.GetWidth() && size.cy == source.GetHeight()) {
        source.StretchDraw(context.dc, x, y, width, height, gdi::SRCCOPY);
        return;
    }
    try {
        const std::unique_ptr<PLWinBmp> copy = MakeDisplayCopy(source, quarterTurns, size.cx, size.cy);
        TurnRowsOver(*copy);
        copy->StretchDraw(context.dc, x, win::SaturateToInt32(int64_t { y } + height), width,
            win::SaturateToInt32(-int64_t { height }), gdi::SRCCOPY);
    } catch (const PLTextException&) {
        // No memory for the copy: the picture is left out of this print, as out of a repaint.
    } catch (const std::bad_alloc&) {
    }
}

} // namespace

void DrawPictureCopy(const PaintContext& context, const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture,
    int quarterTurns, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (context.dc.IsPrinting()) {
        if (picture && picture->GetBitmap())
            DrawPrintedPicture(context, *picture, quarterTurns, x, y, width, height);
        return;
    }
    const win::SIZE extent = DeviceExtent(context, x, y, width, height);
    if (const PLWinBmp* copy = context.copies.Get(picture, quarterTurns, extent.cx, extent.cy))
        copy->StretchDraw(context.dc, x, y, width, height, gdi::SRCCOPY);
}
