// Drawing a device-independent bitmap through a device context.
#include "imaging/bitmap/PLWinBmp.h"

#include "platform/win/IntArithmetic.h"

gdi::DibView PLWinBmp::GetDibView() const
{
    gdi::DibView view;
    view.width = GetWidth();
    view.height = GetHeight();
    view.bitsPerPixel = m_bpp;
    if (m_pClrTab) {
        view.palette = reinterpret_cast<const gdi::RGBQUAD*>(m_pClrTab);
        view.paletteEntries = static_cast<size_t>(GetNumColors());
    }
    view.bits = m_pBits;
    view.bitsSize = m_pBits ? static_cast<size_t>(BitsBytesFor(GetWidth(), GetHeight(), m_bpp)) : 0;
    return view;
}

void PLWinBmp::Draw(gdi::DeviceContext& dc, int x, int y, win::DWORD rop) const
{
    dc.StretchDIBits(x, y, GetWidth(), GetHeight(), 0, 0, GetWidth(), GetHeight(), GetDibView(), rop);
}

void PLWinBmp::StretchDraw(gdi::DeviceContext& dc, int x, int y, int width, int height, win::DWORD rop) const
{
    dc.StretchDIBits(x, y, width, height, 0, 0, GetWidth(), GetHeight(), GetDibView(), rop);
}

void PLWinBmp::StretchDrawScaled(gdi::DeviceContext& dc, int x, int y, double factor, win::DWORD rop) const
{
    // Truncated toward zero and kept within the 32-bit range; a factor that is not a number draws nothing.
    StretchDraw(
        dc, x, y, win::SaturateToInt32(GetWidth() * factor), win::SaturateToInt32(GetHeight() * factor), rop);
}

void PLWinBmp::DrawPart(gdi::DeviceContext& dc, int x, int y, const PLBox& source) const
{
    // A rectangle reaching outside the picture draws nothing.
    if (source.tl.x < 0 || source.tl.y < 0 || source.tl.x > source.br.x || source.tl.y > source.br.y
        || source.br.x > GetWidth() || source.br.y > GetHeight())
        return;
    // The block is stored bottom row first, so the source's y counts up from the bottom.
    dc.SetDIBitsToDevice(
        x, y, source.Width(), source.Height(), source.tl.x, GetHeight() - source.br.y, GetDibView());
}
static_assert(sizeof(gdi::RGBQUAD) == sizeof(PLPixel32));
