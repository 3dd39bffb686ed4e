#include "app/view/PaintContext.h"

#include "platform/win/IntArithmetic.h"

win::SIZE DeviceExtent(const PaintContext& context, int32_t x, int32_t y, int32_t width, int32_t height)
{
    win::POINT corners[2] = { { x, y },
        { win::SaturateToInt32(int64_t { x } + width), win::SaturateToInt32(int64_t { y } + height) } };
    context.dc.LPtoDP(corners, 2);
    return { win::SaturateToInt32(int64_t { corners[1].x } - corners[0].x),
        win::SaturateToInt32(int64_t { corners[1].y } - corners[0].y) };
}

void DrawPictureCopy(const PaintContext& context, const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture,
    int quarterTurns, int32_t x, int32_t y, int32_t width, int32_t height)
{
    const win::SIZE extent = DeviceExtent(context, x, y, width, height);
    if (const PLWinBmp* copy = context.copies.Get(picture, quarterTurns, extent.cx, extent.cy))
        copy->StretchDraw(context.dc, x, y, width, height, gdi::SRCCOPY);
}
