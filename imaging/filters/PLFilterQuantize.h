// Turns a 32-bpp bitmap into an 8-bpp bitmap with a 256-colour palette: chosen by box splitting over a
// 15-bit colour histogram, by popularity, from a fixed table or from a palette the caller gives;
// pixels are mapped to the nearest entry, with no dithering, ordered 4 x 4 dithering or
// Floyd-Steinberg error diffusion.
#pragma once

#include "imaging/bitmap/PLPixel32.h"
#include "imaging/filters/PLFilter.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// Palette types.
inline constexpr unsigned PLDTHPAL_MEDIAN = 0; // box split over the histogram
inline constexpr unsigned PLDTHPAL_POPULARITY = 1; // the most frequent histogram cells
inline constexpr unsigned PLDTHPAL_DEFAULT = 2; // the fixed table
inline constexpr unsigned PLDTHPAL_USERDEFINED = 3; // the user palette, or the fixed table without one
// Dither types.
inline constexpr int PLDTH_NONE = 0;
inline constexpr int PLDTH_ORDERED = 1;
inline constexpr int PLDTH_FS = 2;

class PLFilterQuantize : public PLFilter {
public:
    PLFilterQuantize(unsigned paletteType, int ditherType);
    ~PLFilterQuantize() override;

    // Copies 256 entries; null forgets the user palette (the fixed table is used instead).
    void SetUserPalette(const PLPixel32* palette);

    // Adds min(weight, 65535) to the colour's histogram cell, the count saturating at 65535: the
    // colours added since the last application count in the next one's histogram beside the
    // source's pixels.
    void AddColor(const PLPixel32& colour, uint32_t weight);

    // The fixed table of 256 entries.
    static const PLPixel32* GetDefaultPalette();
    static void UseDefaultPalette(PLBmp* pBmp);

protected:
    // The source must have 32 bpp; the destination is re-created at 8 bpp. Each application starts
    // with the colours added since the last one and an empty colour cache, and leaves nothing
    // behind for the next.
    void ApplyDistinct(PLBmp* pBmpSource, PLBmp* pBmpDest) const override;

private:
    // One cell per 15-bit colour: the histogram count (saturating) and the cached palette index.
    struct Cell {
        int16_t index = -1;
        uint16_t count = 0;
    };
    // A box of the 5-bit colour cube, channels in the order red, green, blue.
    struct Box {
        std::array<int, 3> lo {};
        std::array<int, 3> hi {};
        std::array<int, 3> mean {};
        uint32_t count = 0;
    };

    void BuildHistogram(const PLBmp& src) const;
    void CountColor(const PLPixel32& colour, uint32_t weight) const;
    void BuildBoxSplitPalette(PLBmp& dst) const;
    void ShrinkBox(Box& box) const;
    void SplitBox(Box& picked, Box& added) const;
    void BuildPopularityPalette(PLBmp& dst) const;
    void MapToPalette(const PLBmp& src, PLBmp& dst) const;
    void MapFloydSteinberg(const PLBmp& src, PLBmp& dst) const;
    int NearestIndex(int r, int g, int b, const PLPixel32* palette) const;

    static int CellIndex(int r5, int g5, int b5) { return r5 << 10 | g5 << 5 | b5; }

    unsigned m_PaletteType;
    int m_DitherType;
    std::unique_ptr<PLPixel32[]> m_pUserPal;
    mutable std::vector<Cell> m_Histogram;
    mutable std::vector<Box> m_Boxes;
};
