#include "platform/gdi/GdiObjects.h"

#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace gdi {

std::string GetFaceName(const LOGFONT& font)
{
    const auto end = std::find(font.lfFaceName.begin(), font.lfFaceName.end(), '\0');
    return std::string(font.lfFaceName.begin(), end);
}

void SetFaceName(LOGFONT& font, std::string_view face)
{
    font.lfFaceName.fill('\0');
    const auto length = std::min(face.size(), font.lfFaceName.size() - 1);
    std::copy_n(face.begin(), length, font.lfFaceName.begin());
}

GdiObject::~GdiObject()
{
    // Copy first: each device context drops this object from the list while we walk it.
    const auto holders = selectedIn_;
    for (DeviceContext* dc : holders)
        dc->ObjectDeletedWhileSelected(*this, true);
}

win::BOOL GdiObject::DeleteObject()
{
    if (!created_)
        return win::FALSE;
    if (!selectedIn_.empty()) {
        for (DeviceContext* dc : selectedIn_)
            dc->ObjectDeletedWhileSelected(*this, false);
        return win::FALSE;
    }
    created_ = false;
    return win::TRUE;
}

win::BOOL CFont::CreateFontIndirect(const LOGFONT* logFont)
{
    if (logFont == nullptr || IsCreated())
        return win::FALSE;
    logFont_ = *logFont;
    logFont_.lfHeight = std::clamp(logFont_.lfHeight, -kMaxFontHeight, kMaxFontHeight);
    logFont_.lfEscapement = ((logFont_.lfEscapement % 3600) + 3600) % 3600;
    logFont_.lfFaceName.back() = '\0';
    MarkCreated();
    return win::TRUE;
}

win::BOOL CPen::CreatePen(int style, int width, win::COLORREF color)
{
    if (style != PS_SOLID || IsCreated())
        return win::FALSE;
    logPen_.lopnStyle = style;
    logPen_.lopnWidth = std::clamp(width, 0, kMaxPenWidth);
    logPen_.lopnColor = color & 0x00FFFFFF;
    MarkCreated();
    return win::TRUE;
}

} // namespace gdi
