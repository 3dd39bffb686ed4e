// The quantizer's fixed table: the sixteen system colours, a 6 x 6 x 6 colour cube, light greys and
// the remaining system colours.
#include "imaging/bitmap/PLBmp.h"
#include "imaging/filters/PLFilterQuantize.h"

namespace {

std::array<PLPixel32, 256> MakeFixedTable()
{
    std::array<PLPixel32, 256> table;
    const auto set = [&table](int i, uint32_t rgb) {
        table[static_cast<size_t>(i)] = PLPixel32(
            static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 0);
    };
    const uint32_t head[16] = { 0x000000, 0x0000BF, 0x00BF00, 0x00BFBF, 0xBF0000, 0xBF00BF, 0xBFBF00,
        0xC0C0C0, 0xC0DCC0, 0xF0CAA6, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000 };
    for (int i = 0; i < 16; ++i)
        set(i, head[i]);
    // The cube, red slowest: the six colours with red and green both 0 and white are left out.
    const uint32_t levels[6] = { 0x00, 0x51, 0x85, 0xB1, 0xD9, 0xFF };
    int i = 16;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                if ((r != 0 || g != 0) && (r != 5 || g != 5 || b != 5))
                    set(i++, levels[r] << 16 | levels[g] << 8 | levels[b]);
    // The table has always carried this one entry out of the cube's order.
    set(63, 0x518537);
    for (int k = 0; k < 20; ++k, ++i) {
        const uint32_t v = 0xC4 + 3 * static_cast<uint32_t>(k);
        set(i, v << 16 | v << 8 | v);
    }
    const uint32_t tail[11] = { 0xCFCF9B, 0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
        0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };
    for (const uint32_t rgb : tail)
        set(i++, rgb);
    return table;
}

} // namespace

const PLPixel32* PLFilterQuantize::GetDefaultPalette()
{
    static const std::array<PLPixel32, 256> table = MakeFixedTable();
    return table.data();
}

void PLFilterQuantize::UseDefaultPalette(PLBmp* pBmp)
{
    pBmp->SetPalette(GetDefaultPalette());
}
