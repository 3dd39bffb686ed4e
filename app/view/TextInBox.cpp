#include "app/view/TextInBox.h"

#include "app/view/ScopedGdiObjects.h"
#include "platform/win/IntArithmetic.h"

#include <cstdlib>

namespace {

win::SIZE MeasureAtSize(gdi::DeviceContext& dc, const DisplayConverter& converter, const std::string& text,
    int32_t size, const std::string& face)
{
    const ScopedFont font(dc, converter, size, 0, face);
    return dc.GetTextExtent(text);
}

} // namespace

bool FitFontToBox(const std::string& text, const DisplayConverter& converter, gdi::DeviceContext& dc,
    int64_t boxWidth, int64_t boxHeight, int32_t& size, const std::string& face)
{
    const int64_t width = std::llabs(boxWidth);
    const int64_t height = std::llabs(boxHeight);
    if (height <= 4 || width <= 19)
        return false;
    const auto limitWidth = static_cast<int64_t>(static_cast<double>(width) * 0.99);
    const auto limitHeight = static_cast<int64_t>(static_cast<double>(height) * 0.99);
    for (bool first = true;; first = false) {
        if (!first)
            size = win::SaturateToInt32(size * 0.95);
        const win::SIZE extent = MeasureAtSize(dc, converter, text, size, face);
        if ((extent.cx <= limitWidth && extent.cy <= limitHeight) || size <= 9)
            return true;
    }
}

bool DrawTextInBox(gdi::DeviceContext& dc, const DisplayConverter& converter, const std::string& text,
    const LayoutBox& box, int32_t startSize, const std::string& face)
{
    const double scale = converter.GetScale();
    const int64_t across = static_cast<int64_t>(box.right) - box.left;
    const int64_t down = static_cast<int64_t>(box.bottom) - box.top;
    int32_t size = startSize;
    if (!FitFontToBox(text, converter, dc, win::SaturateToInt32(static_cast<double>(across) * scale),
            win::SaturateToInt32(-static_cast<double>(down) * scale), size, face))
        return false;
    const ScopedFont font(dc, converter, size, 0, face);
    const win::SIZE extent = dc.GetTextExtent(text);
    const win::POINT origin = converter.GetOrigin();
    const int64_t centreX = across / 2 - origin.x + box.left;
    const int64_t centreY = origin.y - down / 2 - box.top;
    const int64_t x = int64_t { win::SaturateToInt32(static_cast<double>(centreX) * scale) }
        + converter.GetOffsetX() - extent.cx / 2;
    const int64_t y = int64_t { win::SaturateToInt32(static_cast<double>(centreY) * scale) }
        + converter.GetOffsetY() + extent.cy / 2;
    dc.TextOut(win::SaturateToInt32(x), win::SaturateToInt32(y), text);
    return true;
}
