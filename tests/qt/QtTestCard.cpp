#include "QtTestCard.h"

#include <cstdint>
#include <vector>

namespace qttest {

void DrawTestCard(gdi::DeviceContext& dc)
{
    dc.SetMapMode(gdi::MM_LOMETRIC);
    dc.SetStretchBltMode(gdi::COLORONCOLOR);
    for (const auto& fill : kCardFills)
        dc.FillSolidRect(fill.logical, fill.color);

    // 24 bits per pixel, two pixels a row (6 bytes padded to 8), bottom row stored first.
    std::vector<uint8_t> bits(16, 0);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 2; ++x) {
            const win::COLORREF c = kPictureColours[row][x];
            uint8_t* px = bits.data() + (1 - row) * 8 + 3 * x;
            px[0] = win::GetBValue(c);
            px[1] = win::GetGValue(c);
            px[2] = win::GetRValue(c);
        }
    const gdi::DibView picture { 2, 2, 24, nullptr, 0, bits.data(), bits.size() };
    dc.StretchDIBits(kUprightPicture.left(), -kUprightPicture.top(), kUprightPicture.width(),
                     -kUprightPicture.height(), 0, 0, 2, 2, picture, gdi::SRCCOPY);
    dc.StretchDIBits(kFlippedPicture.left(), -kFlippedPicture.bottom() - 1, kFlippedPicture.width(),
                     kFlippedPicture.height(), 0, 0, 2, 2, picture, gdi::SRCCOPY);

    dc.SetBkMode(gdi::TRANSPARENT);
    for (const auto& text : kCardTexts) {
        gdi::LOGFONT lf;
        lf.lfHeight = -kTextHeight;
        lf.lfEscapement = text.escapement;
        gdi::SetFaceName(lf, "Arial");
        gdi::CFont font;
        font.CreateFontIndirect(&lf);
        gdi::CFont* old = dc.SelectObject(&font);
        dc.TextOut(text.origin.x(), -text.origin.y(), kCardWord);
        dc.SelectObject(old);
        font.DeleteObject();
        // Mark the origin so a person can see where the corner is.
        dc.FillSolidRect({ text.origin.x() - 3, -text.origin.y() + 3, text.origin.x() + 3, -text.origin.y() - 3 },
                         win::RGB(255, 0, 255));
    }
}

} // namespace qttest
