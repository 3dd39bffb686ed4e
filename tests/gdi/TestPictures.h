// Small pictures for the bitmap tests: 3 x 2 pixels at each depth, every pixel's colour known,
// stored bottom-up or top-down with rows padded to 4 bytes.
#pragma once

#include "platform/gdi/Dib.h"

#include <cstdint>
#include <vector>

namespace testpictures {

inline const win::COLORREF kColours[2][3] = {
    { win::RGB(255, 0, 0), win::RGB(0, 255, 0), win::RGB(0, 0, 255) },
    { win::RGB(10, 20, 30), win::RGB(255, 255, 255), win::RGB(0, 0, 0) },
};
// At 1 bit per pixel: the palette is a dark green (0) and orange (1).
inline const win::COLORREF kTwoColours[2] = { win::RGB(0, 90, 0), win::RGB(250, 140, 0) };
inline const int kBits[2][3] = { { 1, 0, 1 }, { 0, 0, 1 } };

// At 16 bits per pixel each channel keeps its top five bits, widened back with those bits
// repeated: 10, 20, 30 become 1, 2, 3 and then 8, 16, 24.
inline const win::COLORREF kColours16[2][3] = {
    { win::RGB(255, 0, 0), win::RGB(0, 255, 0), win::RGB(0, 0, 255) },
    { win::RGB(8, 16, 24), win::RGB(255, 255, 255), win::RGB(0, 0, 0) },
};

// The colour the picture has at (x, row), row 0 at the top.
inline win::COLORREF Expected(int bpp, int row, int x)
{
    if (bpp == 1)
        return kTwoColours[kBits[row][x]];
    return bpp == 16 ? kColours16[row][x] : kColours[row][x];
}

struct Picture {
    std::vector<gdi::RGBQUAD> palette;
    std::vector<uint8_t> bits;
    gdi::DibView view;
};

inline gdi::RGBQUAD Quad(win::COLORREF c)
{
    return { win::GetBValue(c), win::GetGValue(c), win::GetRValue(c), 0 };
}

inline Picture MakePicture(int bpp, bool topDown)
{
    Picture p;
    const uint64_t rowBytes = gdi::DibView::RowBytes(3, bpp);
    p.bits.assign(rowBytes * 2, 0);
    for (int row = 0; row < 2; ++row) {
        uint8_t* line = p.bits.data() + (topDown ? row : 1 - row) * rowBytes;
        for (int x = 0; x < 3; ++x) {
            const win::COLORREF c = kColours[row][x];
            if (bpp == 24 || bpp == 32) {
                uint8_t* px = line + x * (bpp / 8);
                px[0] = win::GetBValue(c);
                px[1] = win::GetGValue(c);
                px[2] = win::GetRValue(c);
                if (bpp == 32)
                    px[3] = 0; // alpha is not drawn
            } else if (bpp == 16) {
                const unsigned word
                    = (win::GetRValue(c) >> 3) << 10 | (win::GetGValue(c) >> 3) << 5 | win::GetBValue(c) >> 3;
                line[2 * x] = static_cast<uint8_t>(word & 0xFF);
                line[2 * x + 1] = static_cast<uint8_t>(word >> 8);
            } else if (bpp == 8) {
                line[x] = static_cast<uint8_t>(row * 3 + x);
            } else if (bpp == 4) {
                line[x / 2] |= static_cast<uint8_t>((row * 3 + x) << (x % 2 == 0 ? 4 : 0));
            } else if (kBits[row][x] != 0) {
                line[0] |= static_cast<uint8_t>(0x80 >> x);
            }
        }
    }
    if (bpp == 4 || bpp == 8)
        for (const auto& row : kColours)
            for (win::COLORREF c : row)
                p.palette.push_back(Quad(c));
    if (bpp == 1)
        p.palette = { Quad(kTwoColours[0]), Quad(kTwoColours[1]) };
    p.view = { 3, topDown ? -2 : 2, bpp, p.palette.data(), p.palette.size(), p.bits.data(), p.bits.size() };
    return p;
}

} // namespace testpictures
