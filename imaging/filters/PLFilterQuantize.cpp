#include "imaging/filters/PLFilterQuantize.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>

namespace {

constexpr int CellCount = 32768;

// Ordered dither offsets by rows, indexed [pixels still to come in the row mod 4][row mod 4].
constexpr int OrderedMatrix[4][4] = { { -7, 1, -5, 3 }, { 5, -3, 7, -1 }, { -4, 4, -6, 2 }, { 8, 0, 6, -2 } };

} // namespace

PLFilterQuantize::PLFilterQuantize(unsigned paletteType, int ditherType)
    : m_PaletteType(paletteType)
    , m_DitherType(ditherType)
{
    try {
        m_Histogram.resize(CellCount);
        m_Boxes.resize(256);
    } catch (const std::bad_alloc&) {
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory.");
    }
}

PLFilterQuantize::~PLFilterQuantize() = default;

void PLFilterQuantize::SetUserPalette(const PLPixel32* palette)
{
    if (!palette) {
        m_pUserPal.reset();
        return;
    }
    m_pUserPal = std::make_unique<PLPixel32[]>(256);
    std::copy_n(palette, 256, m_pUserPal.get());
}

void PLFilterQuantize::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    // Counts and cached indices of this application would distort the next one: they are gone
    // when it ends, on every path.
    struct ClearOnExit {
        std::vector<Cell>& cells;
        ~ClearOnExit() { std::fill(cells.begin(), cells.end(), Cell()); }
    } clear { m_Histogram };
    if (pBmpSource->GetBitsPerPixel() != 32)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Quantization needs a 32-bpp source.");

    pBmpDest->Create(pBmpSource->GetWidth(), pBmpSource->GetHeight(), 8, false, false, nullptr, 0,
        pBmpSource->GetResolution());
    PLBmpLock lockSrc(*pBmpSource, true, false);
    PLBmpLock lockDst(*pBmpDest, false, true);
    if (m_PaletteType != PLDTHPAL_DEFAULT && m_PaletteType != PLDTHPAL_USERDEFINED)
        BuildHistogram(*pBmpSource);
    switch (m_PaletteType) {
    case PLDTHPAL_MEDIAN:
        BuildBoxSplitPalette(*pBmpDest);
        break;
    case PLDTHPAL_POPULARITY:
        BuildPopularityPalette(*pBmpDest);
        break;
    case PLDTHPAL_DEFAULT:
        UseDefaultPalette(pBmpDest);
        break;
    case PLDTHPAL_USERDEFINED:
        pBmpDest->SetPalette(m_pUserPal ? m_pUserPal.get() : GetDefaultPalette());
        break;
    default:
        break;
    }
    MapToPalette(*pBmpSource, *pBmpDest);
}

void PLFilterQuantize::BuildHistogram(const PLBmp& src) const
{
    for (int y = 0; y < src.GetHeight(); ++y) {
        const PLPixel32* row = src.GetRow32(y);
        for (int x = 0; x < src.GetWidth(); ++x)
            CountColor(row[x], 1);
    }
}

void PLFilterQuantize::AddColor(const PLPixel32& colour, uint32_t weight)
{
    CountColor(colour, weight);
}

void PLFilterQuantize::CountColor(const PLPixel32& colour, uint32_t weight) const
{
    Cell& cell = m_Histogram[static_cast<size_t>(
        CellIndex(colour.GetR() >> 3, colour.GetG() >> 3, colour.GetB() >> 3))];
    cell.count
        = static_cast<uint16_t>(std::min<uint32_t>(65535, cell.count + std::min<uint32_t>(weight, 65535)));
}

int PLFilterQuantize::NearestIndex(int r, int g, int b, const PLPixel32* palette) const
{
    Cell& cell = m_Histogram[static_cast<size_t>(CellIndex(r >> 3, g >> 3, b >> 3))];
    if (cell.index >= 0)
        return cell.index;
    int best = 0;
    int bestDist = 0x7FFFFFFF;
    for (int i = 0; i < 256; ++i) {
        const int dr = r - palette[i].GetR();
        const int dg = g - palette[i].GetG();
        const int db = b - palette[i].GetB();
        const int dist = dr * dr + dg * dg + db * db;
        if (dist < bestDist) {
            bestDist = dist;
            best = i;
        }
    }
    cell.index = static_cast<int16_t>(best);
    return best;
}

void PLFilterQuantize::MapToPalette(const PLBmp& src, PLBmp& dst) const
{
    if (m_DitherType == PLDTH_FS) {
        MapFloydSteinberg(src, dst);
        return;
    }
    const PLPixel32* palette = dst.GetPalette();
    const int width = src.GetWidth();
    for (int y = 0; y < src.GetHeight(); ++y) {
        const PLPixel32* in = src.GetRow32(y);
        uint8_t* out = dst.GetRow(y);
        for (int x = 0; x < width; ++x) {
            int r = in[x].GetR();
            int g = in[x].GetG();
            int b = in[x].GetB();
            if (m_DitherType == PLDTH_ORDERED) {
                const int offset = 2 * OrderedMatrix[(width - 1 - x) % 4][y % 4];
                r = win::ClampToByte(r + offset);
                g = win::ClampToByte(g + offset);
                b = win::ClampToByte(b + offset);
            }
            out[x] = static_cast<uint8_t>(NearestIndex(r, g, b, palette));
        }
    }
}

void PLFilterQuantize::MapFloydSteinberg(const PLBmp& src, PLBmp& dst) const
{
    const PLPixel32* palette = dst.GetPalette();
    const int width = src.GetWidth();
    // Entry x + 1 of an error row belongs to pixel x; the two extra entries take what falls off the edges.
    using Error = std::array<double, 3>;
    std::vector<Error> carried(static_cast<size_t>(width) + 2, Error {});
    std::vector<Error> collected(static_cast<size_t>(width) + 2, Error {});
    for (int y = 0; y < src.GetHeight(); ++y) {
        const PLPixel32* in = src.GetRow32(y);
        uint8_t* out = dst.GetRow(y);
        const int dir = y % 2 == 0 ? 1 : -1;
        std::fill(collected.begin(), collected.end(), Error {});
        for (int step = 0; step < width; ++step) {
            const int x = dir > 0 ? step : width - 1 - step;
            const auto at = static_cast<size_t>(x + 1);
            const double channel[3] = { double(in[x].GetR()), double(in[x].GetG()), double(in[x].GetB()) };
            Error value;
            for (int c = 0; c < 3; ++c)
                value[c] = std::clamp(channel[c] + carried[at][c], 0.0, 255.0);
            const int index = NearestIndex(int(value[0]), int(value[1]), int(value[2]), palette);
            out[x] = static_cast<uint8_t>(index);
            const double chosen[3] = { double(palette[index].GetR()), double(palette[index].GetG()),
                double(palette[index].GetB()) };
            const auto ahead = static_cast<size_t>(x + 1 + dir);
            const auto behind = static_cast<size_t>(x + 1 - dir);
            for (int c = 0; c < 3; ++c) {
                const double error = (value[c] - chosen[c]) / 16.0;
                carried[ahead][c] += 7 * error;
                collected[behind][c] += 3 * error;
                collected[at][c] += 5 * error;
                collected[ahead][c] += error;
            }
        }
        std::swap(carried, collected);
    }
}
