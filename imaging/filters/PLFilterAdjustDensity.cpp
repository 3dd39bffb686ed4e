#include "imaging/filters/PLFilterAdjustDensity.h"

#include "imaging/filters/PLColorFilterSupport.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <utility>

using namespace color_filter;

namespace {

constexpr double kUnvisited = std::numeric_limits<double>::max();

} // namespace

PLFilterAdjustDensity::PLFilterAdjustDensity(const PLCoord& seed, int threshold, int density, int radius)
    : m_Seed(seed)
    , m_Threshold(static_cast<uint32_t>(threshold))
    , m_Density(density)
    , m_Radius(radius)
{
}

void PLFilterAdjustDensity::ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const
{
    const PLBmp& src = *pBmpSource;
    RequireDepth(src, 32, 32, "The density filter needs a 32-bpp bitmap.");
    if (m_Seed.x < 0 || m_Seed.y < 0 || m_Seed.x >= src.GetWidth() || m_Seed.y >= src.GetHeight())
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "The density seed lies outside the picture.");
    if (m_Radius < 0)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "The density radius must not be negative.");

    try {
        PLBmpLock readLock(src, true, false);
        m_Width = src.GetWidth();
        m_Height = src.GetHeight();
        const PLPixel32 seed = src.GetRow32(m_Seed.y)[m_Seed.x];
        m_SeedRed = seed.GetR();
        m_SeedGreen = seed.GetG();
        m_SeedBlue = seed.GetB();
        m_Grid.assign(
            static_cast<size_t>(m_Height), std::vector<double>(static_cast<size_t>(m_Width), kUnvisited));
        Flood(src);
        Smooth();
    } catch (const std::bad_alloc&) {
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory adjusting density.");
    }

    // Created once the cells are known, so that a failure above leaves the destination as it was.
    CreateDestination(src, *pBmpDest, src.GetWidth(), src.GetHeight());
    int y = 0;
    ForEachPixel(src, *pBmpDest, [&, x = 0](const uint8_t* in, uint8_t* out) mutable {
        const double cell = Cell(x, y);
        for (int c = 0; c < 3; ++c)
            out[c] = cell == 0 || cell == kUnvisited ? in[c]
                                                     : ClampReal(in[c] - std::trunc(in[c] * cell / -100.0));
        if (++x == m_Width)
            x = 0, ++y;
    });
}

// Every pixel reached gets its cell from its own colour alone, so the order in which pending
// pixels are taken does not change the result; a stack keeps it cheap.
void PLFilterAdjustDensity::Flood(const PLBmp& src) const
{
    std::vector<uint8_t> pending(static_cast<size_t>(m_Width) * static_cast<size_t>(m_Height), 0);
    std::vector<std::pair<int, int>> stack { { m_Seed.x, m_Seed.y } };
    pending[static_cast<size_t>(m_Seed.y) * static_cast<size_t>(m_Width) + static_cast<size_t>(m_Seed.x)] = 1;
    const double spread = 3.0 * m_Threshold;
    while (!stack.empty()) {
        const auto [x, y] = stack.back();
        stack.pop_back();
        const PLPixel32 p = src.GetRow32(y)[x];
        const uint32_t dR = static_cast<uint32_t>(std::abs(p.GetR() - m_SeedRed));
        const uint32_t dG = static_cast<uint32_t>(std::abs(p.GetG() - m_SeedGreen));
        const uint32_t dB = static_cast<uint32_t>(std::abs(p.GetB() - m_SeedBlue));
        if (dR > m_Threshold || dG > m_Threshold || dB > m_Threshold) {
            Cell(x, y) = 0;
            continue;
        }
        // With a threshold of 0 this is 0 / 0; not a number is not above 0.5, so the cell gets D.
        const double g = (dR + dG + dB) / spread;
        Cell(x, y) = g > 0.5 ? std::trunc((g - 0.5) * 2 * m_Density) : m_Density;
        for (int ny = y - 1; ny <= y + 1; ++ny)
            for (int nx = x - 1; nx <= x + 1; ++nx) {
                if (nx < 0 || ny < 0 || nx >= m_Width || ny >= m_Height || Cell(nx, ny) != kUnvisited)
                    continue;
                uint8_t& queued = pending[static_cast<size_t>(ny) * static_cast<size_t>(m_Width)
                    + static_cast<size_t>(nx)];
                if (!queued) {
                    queued = 1;
                    stack.emplace_back(nx, ny);
                }
            }
    }
}

// Cells below the density become the mean of their (2r + 1) squared window, clipped to the picture:
// visited cells add their value, unvisited ones only count. Every cell holds a whole number, so
// window sums taken from prefix sums are exact.
void PLFilterAdjustDensity::Smooth() const
{
    const size_t w = static_cast<size_t>(m_Width), h = static_cast<size_t>(m_Height);
    std::vector<int64_t> sums((w + 1) * (h + 1), 0);
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x) {
            const int64_t v = m_Grid[y][x] == kUnvisited ? 0 : static_cast<int64_t>(m_Grid[y][x]);
            sums[(y + 1) * (w + 1) + x + 1]
                = v + sums[y * (w + 1) + x + 1] + sums[(y + 1) * (w + 1) + x] - sums[y * (w + 1) + x];
        }
    std::vector<std::pair<size_t, double>> smoothed;
    const int64_t r = m_Radius;
    for (int64_t y = 0; y < m_Height; ++y)
        for (int64_t x = 0; x < m_Width; ++x) {
            if (!(m_Grid[size_t(y)][size_t(x)] < m_Density))
                continue;
            const size_t x0 = size_t(std::max<int64_t>(x - r, 0)),
                         x1 = size_t(std::min<int64_t>(x + r + 1, m_Width));
            const size_t y0 = size_t(std::max<int64_t>(y - r, 0)),
                         y1 = size_t(std::min<int64_t>(y + r + 1, m_Height));
            const int64_t sum = sums[y1 * (w + 1) + x1] - sums[y0 * (w + 1) + x1] - sums[y1 * (w + 1) + x0]
                + sums[y0 * (w + 1) + x0];
            smoothed.emplace_back(size_t(y) * w + size_t(x),
                static_cast<double>(sum) / static_cast<double>((x1 - x0) * (y1 - y0)));
        }
    for (const auto& [at, value] : smoothed)
        m_Grid[at / w][at % w] = value;
}
