#include "imaging/resize/ReferenceScaler.h"

#include <algorithm>
#include <cmath>

namespace reference {

std::vector<Contribution> Contributions(const PLContribDef& kernel, int64_t n, int64_t m)
{
    const double scale = double(n) / double(m);
    double width = kernel.GetWidth();
    double f = 1.0;
    if (scale < 1.0) {
        width = width / scale;
        f = scale;
    }
    const double window = 2 * std::ceil(width) + 1;
    std::vector<Contribution> table;
    for (int64_t u = 0; u < n; ++u) {
        const double centre = (u + 0.5) / scale - 0.5;
        Contribution c;
        c.first = std::max<int64_t>(int64_t(std::floor(centre - width)), 0);
        c.last = std::min<int64_t>(int64_t(std::ceil(centre + width)), m - 1);
        if (double(c.last - c.first + 1) > window) {
            if (c.first < m)
                c.first++;
            else
                c.last--;
        }
        int64_t sum = 0;
        for (int64_t i = c.first; i <= c.last; ++i) {
            c.weights.push_back(int64_t(std::trunc(kernel.Weight((centre - double(i)) * f) * f * 256)));
            sum += c.weights.back();
        }
        if (sum > 0) {
            int64_t others = 0;
            for (size_t k = 0; k + 1 < c.weights.size(); ++k) {
                c.weights[k] = c.weights[k] * 256 / sum;
                others += c.weights[k];
            }
            c.weights.back() = 256 - others;
        } else {
            // Every weight truncated away: share 256 out by the real kernel, rounding the
            // running total so that no weight is off by more than one.
            std::vector<double> real;
            double total = 0;
            for (int64_t i = c.first; i <= c.last; ++i) {
                real.push_back(kernel.Weight((centre - double(i)) * f) * f);
                total += real.back();
            }
            std::fill(c.weights.begin(), c.weights.end(), 0);
            if (total > 0) {
                double running = 0;
                int64_t given = 0;
                for (size_t k = 0; k < real.size(); ++k) {
                    running += real[k];
                    const auto upTo = int64_t(std::floor(running * 256 / total + 0.5));
                    c.weights[k] = upTo - given;
                    given = upTo;
                }
            } else {
                const auto nearest = std::clamp<int64_t>(int64_t(std::round(centre)), c.first, c.last);
                c.weights[size_t(nearest - c.first)] = 256;
            }
        }
        table.push_back(std::move(c));
    }
    return table;
}

namespace {

uint8_t Store(int64_t sum)
{
    return uint8_t(std::clamp<int64_t>((sum + 128) / 256, 0, 255));
}

} // namespace

Picture Scale(const PLContribDef& kernel, const Picture& source, int64_t width, int64_t height)
{
    Picture between { width, source.height, std::vector<uint8_t>(size_t(width * source.height * 4)) };
    const auto across = Contributions(kernel, width, source.width);
    for (int64_t y = 0; y < source.height; ++y)
        for (int64_t x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) {
                int64_t sum = 0;
                for (int64_t i = across[x].first; i <= across[x].last; ++i)
                    sum += across[x].weights[size_t(i - across[x].first)] * source.Pixel(i, y)[c];
                between.Pixel(x, y)[c] = Store(sum);
            }

    Picture result { width, height, std::vector<uint8_t>(size_t(width * height * 4)) };
    const auto down = Contributions(kernel, height, source.height);
    for (int64_t y = 0; y < height; ++y)
        for (int64_t x = 0; x < width; ++x)
            for (int c = 0; c < 4; ++c) {
                int64_t sum = 0;
                for (int64_t i = down[y].first; i <= down[y].last; ++i)
                    sum += down[y].weights[size_t(i - down[y].first)] * between.Pixel(x, i)[c];
                result.Pixel(x, y)[c] = Store(sum);
            }
    return result;
}

} // namespace reference
