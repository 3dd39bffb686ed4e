#include "app/view/PaintContext.h"

#include "platform/win/IntArithmetic.h"

void DrawPictureCopy(const PaintContext& context, const std::shared_ptr<Pellimar::DeviceIndepBitmap>& picture,
    int quarterTurns, int32_t x, int32_t y, int32_t width, int32_t height)
{
    win::POINT corners[2] = { { x, y },
        { win::SaturateToInt32(int64_t { x } + width), win::SaturateToInt32(int64_t { y } + height) } };
    context.dc.LPtoDP(corners, 2);
    const int64_t deviceWidth = int64_t { corners[1].x } - corners[0].x;
    const int64_t deviceHeight = int64_t { corners[1].y } - corners[0].y;
    if (const PLWinBmp* copy = context.copies.Get(picture, quarterTurns, deviceWidth, deviceHeight))
        copy->StretchDraw(context.dc, x, y, width, height, gdi::SRCCOPY);
}
