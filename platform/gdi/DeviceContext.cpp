#include "platform/gdi/DeviceContext.h"

#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace gdi {

namespace {

constexpr int kMaxResolution = 100000;

win::RECT Normalised(win::RECT r)
{
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    return r;
}

int Resolution(int dpi)
{
    return dpi < 1 ? 96 : std::min(dpi, kMaxResolution);
}

} // namespace

DeviceContext::DeviceContext(const DeviceCaps& caps, bool printing)
    : caps_(caps)
    , printing_(printing)
{
    caps_.logPixelsX = Resolution(caps.logPixelsX);
    caps_.logPixelsY = Resolution(caps.logPixelsY);
    LOGFONT stock;
    SetFaceName(stock, "Arial");
    stockFont_.CreateFontIndirect(&stock);
    stockPen_.CreatePen(PS_SOLID, 0, win::RGB(0, 0, 0));
    SelectObject(&stockFont_);
    SelectObject(&stockPen_);
}

DeviceContext::~DeviceContext()
{
    Deselect(selectedFont_);
    Deselect(selectedPen_);
}

int DeviceContext::GetDeviceCaps(int index) const
{
    switch (index) {
    case HORZRES:
        return caps_.horzRes;
    case VERTRES:
        return caps_.vertRes;
    case LOGPIXELSX:
        return caps_.logPixelsX;
    case LOGPIXELSY:
        return caps_.logPixelsY;
    default:
        return 0;
    }
}

int DeviceContext::SetMapMode(int mode)
{
    if (mode != MM_TEXT && mode != MM_LOMETRIC)
        return 0;
    return std::exchange(mapMode_, mode);
}

win::POINT DeviceContext::SetWindowOrg(int x, int y)
{
    return std::exchange(windowOrg_, win::POINT { x, y });
}

win::POINT DeviceContext::SetViewportOrg(int x, int y)
{
    return std::exchange(viewportOrg_, win::POINT { x, y });
}

// The lengths given to win::MulDivRound are clamped to |length| <= 2^34 and the resolutions are at
// most 10^5, so that every product fits in 64 bits.
int DeviceContext::LogicalToDeviceX(int64_t length) const
{
    if (mapMode_ == MM_TEXT)
        return win::SaturateToInt32(length);
    return win::SaturateToInt32(
        win::MulDivRound(std::clamp<int64_t>(length, -(1LL << 34), 1LL << 34), caps_.logPixelsX, 254));
}

int DeviceContext::LogicalToDeviceY(int64_t length) const
{
    if (mapMode_ == MM_TEXT)
        return win::SaturateToInt32(length);
    return win::SaturateToInt32(
        win::MulDivRound(std::clamp<int64_t>(length, -(1LL << 34), 1LL << 34), caps_.logPixelsY, 254));
}

int DeviceContext::DeviceToLogicalX(int64_t length) const
{
    if (mapMode_ == MM_TEXT)
        return win::SaturateToInt32(length);
    return win::SaturateToInt32(
        win::MulDivRound(std::clamp<int64_t>(length, -(1LL << 34), 1LL << 34), 254, caps_.logPixelsX));
}

int DeviceContext::DeviceToLogicalY(int64_t length) const
{
    if (mapMode_ == MM_TEXT)
        return win::SaturateToInt32(length);
    return win::SaturateToInt32(
        win::MulDivRound(std::clamp<int64_t>(length, -(1LL << 34), 1LL << 34), 254, caps_.logPixelsY));
}

win::POINT DeviceContext::ToDevicePoint(win::POINT p) const
{
    const int64_t dx = static_cast<int64_t>(p.x) - windowOrg_.x;
    const int64_t dy = static_cast<int64_t>(p.y) - windowOrg_.y;
    // In the metric mode logical y grows upward and device y downward.
    const int64_t y = mapMode_ == MM_TEXT ? dy : -dy;
    return { win::SaturateToInt32(static_cast<int64_t>(LogicalToDeviceX(dx)) + viewportOrg_.x),
        win::SaturateToInt32(static_cast<int64_t>(LogicalToDeviceY(y)) + viewportOrg_.y) };
}

void DeviceContext::LPtoDP(win::POINT* points, int count) const
{
    for (int i = 0; points != nullptr && i < count; ++i)
        points[i] = ToDevicePoint(points[i]);
}

void DeviceContext::LPtoDP(win::RECT* rect) const
{
    if (rect == nullptr)
        return;
    const win::POINT a = ToDevicePoint({ rect->left, rect->top });
    const win::POINT b = ToDevicePoint({ rect->right, rect->bottom });
    *rect = { a.x, a.y, b.x, b.y };
}

void DeviceContext::LPtoDP(win::SIZE* size) const
{
    if (size != nullptr)
        *size = { LogicalToDeviceX(size->cx), LogicalToDeviceY(size->cy) };
}

void DeviceContext::DPtoLP(win::POINT* points, int count) const
{
    for (int i = 0; points != nullptr && i < count; ++i) {
        const int64_t dx = static_cast<int64_t>(points[i].x) - viewportOrg_.x;
        const int64_t dy = static_cast<int64_t>(points[i].y) - viewportOrg_.y;
        const int64_t lx = DeviceToLogicalX(dx);
        const int64_t ly = DeviceToLogicalY(dy);
        points[i].x = win::SaturateToInt32(lx + windowOrg_.x);
        points[i].y = win::SaturateToInt32(mapMode_ == MM_TEXT ? ly + windowOrg_.y : windowOrg_.y - ly);
    }
}

void DeviceContext::DPtoLP(win::RECT* rect) const
{
    if (rect == nullptr)
        return;
    win::POINT corners[2] = { { rect->left, rect->top }, { rect->right, rect->bottom } };
    DPtoLP(corners, 2);
    *rect = { corners[0].x, corners[0].y, corners[1].x, corners[1].y };
}

void DeviceContext::DPtoLP(win::SIZE* size) const
{
    if (size != nullptr)
        *size = { DeviceToLogicalX(size->cx), DeviceToLogicalY(size->cy) };
}

DeviceFont DeviceContext::ToDeviceFont(const LOGFONT& font) const
{
    DeviceFont out;
    out.logical = font;
    out.faceName = GetFaceName(font);
    int height = LogicalToDeviceY(font.lfHeight);
    if (height == 0 && font.lfHeight != 0)
        height = font.lfHeight < 0 ? -1 : 1; // the smallest visible size, never the default one
    out.height = std::clamp(height, -kMaxDeviceFontHeight, kMaxDeviceFontHeight);
    out.escapement = ((font.lfEscapement % 3600) + 3600) % 3600;
    out.weight = font.lfWeight;
    out.italic = font.lfItalic != 0;
    out.underline = font.lfUnderline != 0;
    out.strikeOut = font.lfStrikeOut != 0;
    return out;
}

DevicePen DeviceContext::ToDevicePen(const LOGPEN& pen) const
{
    DevicePen out;
    out.logical = pen;
    out.width = std::clamp(LogicalToDeviceX(std::max<int64_t>(pen.lopnWidth, 0)), 0, kMaxDevicePenWidth);
    out.color = pen.lopnColor;
    return out;
}

void DeviceContext::Deselect(GdiObject* object)
{
    if (object == nullptr)
        return;
    auto& holders = object->selectedIn_;
    holders.erase(std::remove(holders.begin(), holders.end(), this), holders.end());
}

CFont* DeviceContext::SelectObject(CFont* font)
{
    if (font == nullptr || !font->IsCreated())
        return nullptr;
    CFont* previous = selectedFont_;
    Deselect(previous);
    selectedFont_ = font;
    font->selectedIn_.push_back(this);
    font_ = font->GetLogFont();
    return previous;
}

CPen* DeviceContext::SelectObject(CPen* pen)
{
    if (pen == nullptr || !pen->IsCreated())
        return nullptr;
    CPen* previous = selectedPen_;
    Deselect(previous);
    selectedPen_ = pen;
    pen->selectedIn_.push_back(this);
    pen_ = pen->GetLogPen();
    return previous;
}

void DeviceContext::ObjectDeletedWhileSelected(const GdiObject& object, bool destroyed)
{
    const bool isFont = &object == selectedFont_;
    const std::string kind = isFont ? "font" : "pen";
    faults_.push_back(kind + (destroyed ? " destroyed" : " deleted") + " while selected");
    if (!destroyed)
        return;
    // The object is going away: keep drawing with the copy of its description.
    if (isFont)
        selectedFont_ = nullptr;
    else if (&object == selectedPen_)
        selectedPen_ = nullptr;
}

std::vector<std::string> DeviceContext::ObjectFaults() const
{
    auto faults = faults_;
    if (selectedFont_ != nullptr && selectedFont_ != &stockFont_)
        faults.emplace_back("font left selected");
    if (selectedPen_ != nullptr && selectedPen_ != &stockPen_)
        faults.emplace_back("pen left selected");
    return faults;
}

win::COLORREF DeviceContext::SetTextColor(win::COLORREF color)
{
    return std::exchange(textColor_, color);
}

win::COLORREF DeviceContext::SetBkColor(win::COLORREF color)
{
    return std::exchange(bkColor_, color);
}

int DeviceContext::SetBkMode(int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(bkMode_, mode);
}

int DeviceContext::SetStretchBltMode(int mode)
{
    if (mode != BLACKONWHITE && mode != COLORONCOLOR && mode != HALFTONE)
        return 0;
    return std::exchange(stretchMode_, mode);
}

win::BOOL DeviceContext::TextOut(int x, int y, std::string_view text)
{
    TextCall call;
    call.logicalOrigin = { x, y };
    call.deviceOrigin = ToDevicePoint({ x, y });
    call.text = text;
    call.font = ToDeviceFont(font_);
    call.textColor = textColor_;
    call.bkMode = bkMode_;
    call.bkColor = bkColor_;
    DoText(call);
    return win::TRUE;
}

win::SIZE DeviceContext::GetTextExtent(std::string_view text) const
{
    const win::SIZE device = DoMeasureText(text, ToDeviceFont(font_));
    return { DeviceToLogicalX(device.cx), DeviceToLogicalY(device.cy) };
}

void DeviceContext::FillSolidRect(const win::RECT& rect, win::COLORREF color)
{
    bkColor_ = color;
    Fill(rect, color, false);
}

void DeviceContext::FillHalftoneRect(const win::RECT& rect, win::COLORREF color)
{
    Fill(rect, color, true);
}

void DeviceContext::Fill(const win::RECT& rect, win::COLORREF color, bool halftone)
{
    FillCall call;
    call.logical = rect;
    win::RECT device = rect;
    LPtoDP(&device);
    call.device = Normalised(device);
    call.color = color;
    call.halftone = halftone;
    DoFillRect(call);
}

win::POINT DeviceContext::MoveTo(int x, int y)
{
    return std::exchange(position_, win::POINT { x, y });
}

win::BOOL DeviceContext::LineTo(int x, int y)
{
    LineCall call;
    call.logicalFrom = position_;
    call.logicalTo = { x, y };
    call.deviceFrom = ToDevicePoint(call.logicalFrom);
    call.deviceTo = ToDevicePoint(call.logicalTo);
    call.pen = ToDevicePen(pen_);
    position_ = { x, y };
    DoLine(call);
    return win::TRUE;
}

namespace {

bool SourceInside(const DibView& dib, int64_t x, int64_t y, int64_t width, int64_t height)
{
    return x >= 0 && y >= 0 && width > 0 && height > 0 && x + width <= dib.width
        && static_cast<uint64_t>(y + height) <= dib.Rows();
}

bool KnownRop(win::DWORD rop)
{
    return rop == SRCCOPY || rop == SRCAND || rop == SRCPAINT;
}

} // namespace

int DeviceContext::StretchDIBits(int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
    int srcHeight, const DibView& dib, win::DWORD rop)
{
    if (!KnownRop(rop) || !dib.IsValid() || !SourceInside(dib, srcX, srcY, srcWidth, srcHeight))
        return 0;
    const win::POINT topLeft = ToDevicePoint({ x, y });
    const win::POINT bottomRight = ToDevicePoint({ win::SaturateToInt32(static_cast<int64_t>(x) + width),
        win::SaturateToInt32(static_cast<int64_t>(y) + height) });
    DibCall call;
    call.logicalX = x;
    call.logicalY = y;
    call.logicalWidth = width;
    call.logicalHeight = height;
    call.deviceX = topLeft.x;
    call.deviceY = topLeft.y;
    call.deviceWidth = win::SaturateToInt32(static_cast<int64_t>(bottomRight.x) - topLeft.x);
    call.deviceHeight = win::SaturateToInt32(static_cast<int64_t>(bottomRight.y) - topLeft.y);
    if (call.deviceWidth == 0 || call.deviceHeight == 0)
        return 0;
    call.srcX = srcX;
    call.srcY = srcY;
    call.srcWidth = srcWidth;
    call.srcHeight = srcHeight;
    call.dib = dib;
    call.stretchMode = stretchMode_;
    call.rop = rop;
    DoStretchDib(call);
    return srcHeight;
}

int DeviceContext::SetDIBitsToDevice(
    int x, int y, int width, int height, int srcX, int srcY, const DibView& dib)
{
    if (!dib.IsValid() || !SourceInside(dib, srcX, srcY, width, height))
        return 0;
    const win::POINT topLeft = ToDevicePoint({ x, y });
    DibCall call;
    call.logicalX = x;
    call.logicalY = y;
    call.logicalWidth = DeviceToLogicalX(width);
    call.logicalHeight = mapMode_ == MM_TEXT ? height : -DeviceToLogicalY(height);
    call.deviceX = topLeft.x;
    call.deviceY = topLeft.y;
    call.deviceWidth = width;
    call.deviceHeight = height;
    call.srcX = srcX;
    call.srcY = srcY;
    call.srcWidth = width;
    call.srcHeight = height;
    call.dib = dib;
    call.stretchMode = COLORONCOLOR;
    DoStretchDib(call);
    return height;
}

void DeviceContext::DrawDragRect(
    const win::RECT& rect, win::SIZE size, const win::RECT* lastRect, win::SIZE lastSize)
{
    const auto border = [](win::SIZE s) {
        return win::SIZE { win::SaturateToInt32(std::abs(int64_t { s.cx })),
            win::SaturateToInt32(std::abs(int64_t { s.cy })) };
    };
    DragRectCall call;
    call.rect = Normalised(rect);
    call.size = border(size);
    if (lastRect != nullptr) {
        call.hasLast = true;
        call.lastRect = Normalised(*lastRect);
        call.lastSize = border(lastSize);
    }
    DoDragRect(call);
}

} // namespace gdi
