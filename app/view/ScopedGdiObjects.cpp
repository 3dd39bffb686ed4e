#include "app/view/ScopedGdiObjects.h"

#include "platform/win/IntArithmetic.h"

ScopedFont::ScopedFont(gdi::DeviceContext& dc, const DisplayConverter& converter, int64_t size,
    int escapement, const std::string& face)
    : dc_(dc)
{
    converter.CreateFont(font_, size, face, escapement);
    previous_ = dc_.SelectObject(&font_);
}

ScopedFont::~ScopedFont()
{
    if (previous_)
        dc_.SelectObject(previous_);
    font_.DeleteObject();
}

ScopedPen::ScopedPen(gdi::DeviceContext& dc, int64_t width, win::COLORREF colour)
    : dc_(dc)
{
    pen_.CreatePen(gdi::PS_SOLID, win::SaturateToInt32(width), colour);
    previous_ = dc_.SelectObject(&pen_);
}

ScopedPen::~ScopedPen()
{
    if (previous_)
        dc_.SelectObject(previous_);
    pen_.DeleteObject();
}
