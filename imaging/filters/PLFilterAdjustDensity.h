// Raises the density (darkness) of a region: from a seed pixel, every 8-connected pixel whose
// colour lies within the threshold of the seed's gets a cell of `density` percent (less towards the
// threshold), the cells are smoothed over a square of the radius, and each pixel's colour channels
// move by their cell's percentage.
#pragma once

#include "imaging/bitmap/PLCoord.h"
#include "imaging/filters/PLFilter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class PLFilterAdjustDensity : public PLFilter {
public:
    // The seed must lie inside the picture and the radius must not be negative.
    PLFilterAdjustDensity(const PLCoord& seed, int threshold, int density, int radius);

protected:
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    void Flood(const PLBmp& src) const;
    void Smooth() const;
    double& Cell(int x, int y) const { return m_Grid[static_cast<size_t>(y)][static_cast<size_t>(x)]; }

    PLCoord m_Seed;
    uint32_t m_Threshold;
    int m_Density;
    int m_Radius;

    // Per application: the picture's size, the seed's colour and one cell per pixel. Every
    // application starts from a fresh grid.
    mutable int m_Width = 0;
    mutable int m_Height = 0;
    mutable int m_SeedRed = 0;
    mutable int m_SeedGreen = 0;
    mutable int m_SeedBlue = 0;
    mutable std::vector<std::vector<double>> m_Grid;
};
