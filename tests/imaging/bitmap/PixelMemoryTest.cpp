#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLBmpPixelBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace {

// The kernel's flags for the mapping that holds address ("rd wr mr mw me ac hg ..."), from
// /proc/self/smaps; empty when no mapping holds it.
std::string MappingFlags(uintptr_t address)
{
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(smaps, line)) {
        uintptr_t begin = 0, end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-' && line.find(':') > line.find(' '))
            inside = address >= begin && address < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0)
            return line.substr(8) + " ";
    }
    return {};
}

} // namespace

TEST(PLBmpPixelBlock, EveryByteIsZeroAndUsableAcrossTheSizeThresholds)
{
    const size_t MB = size_t(1) << 20;
    const size_t sizes[]
        = { 0, 1, MB - 1, MB, MB + 5, 4 * MB - 1, 4 * MB, 6 * MB + 3, 32 * MB - 1, 32 * MB, 34 * MB + 5 };
    for (size_t bytes : sizes) {
        PLBmpPixelBlock block(bytes);
        ASSERT_NE(block.get(), nullptr) << bytes;
        EXPECT_EQ(block.size(), bytes);
        EXPECT_TRUE(std::all_of(block.get(), block.get() + bytes, [](uint8_t b) { return b == 0; })) << bytes;
        if (bytes > 0) { // the first and last byte are the block's own (the sanitizer checks the rest)
            block.get()[0] = 1;
            block.get()[bytes - 1] = 2;
        }
        PLBmpPixelBlock moved(std::move(block));
        EXPECT_EQ(block.get(), nullptr);
        if (bytes > 0) {
            EXPECT_EQ(moved.get()[bytes - 1], 2) << bytes;
        }
        PLBmpPixelBlock other(16);
        other = std::move(moved);
        EXPECT_EQ(other.size(), bytes);
        // Memory given back and handed out again (as the C library does) still starts zero.
        std::fill_n(other.get(), bytes, uint8_t { 0xab });
        other.reset();
        const PLBmpPixelBlock again(bytes);
        EXPECT_TRUE(std::all_of(again.get(), again.get() + bytes, [](uint8_t b) { return b == 0; })) << bytes;
    }
}

// From 1 MB on, a block lies in memory marked for huge pages from its first byte to the end of its
// last whole 2 MB, so that no part of it falls back to 4 KB pages (each of which costs a fault on
// first touch; on a virtual machine several microseconds, more than decoding the pixels in it).
TEST(PLBmpPixelBlock, BlocksFromOneMegabyteLieWhollyInHugePageMemory)
{
    const size_t MB = size_t(1) << 20;
    for (size_t bytes : { MB, size_t(640 * 480 * 4), 4 * MB - 1, 6 * MB + 3, 34 * MB + 5 }) {
        const auto block = PLBmpPixelBlock::ForOverwrite(bytes);
        const auto first = reinterpret_cast<uintptr_t>(block.get());
        EXPECT_EQ(first % (2 * MB), 0u) << bytes;
        const uintptr_t lastOfRounding = first + (bytes + 2 * MB - 1) / (2 * MB) * (2 * MB) - 1;
        for (uintptr_t address : { first, first + bytes - 1, lastOfRounding })
            EXPECT_NE(MappingFlags(address).find(" hg "), std::string::npos)
                << bytes << " at +" << (address - first) << ": " << MappingFlags(address);
    }
}

// The pixel bytes of a picture made for overwriting are the caller's to write; what no caller writes
// (row padding, palettes, pictures below 8 bpp whose pixels share bytes) is zero all the same.
// (Under the address sanitizer, fresh heap memory is filled with a marker, so a byte left unset shows.)
template <class Bmp> void ExpectForOverwriteClearsAllButThePixelsAndCreateStaysOpaque()
{
    Bmp bmp;
    bmp.CreateForOverwrite(5, 3, 32, true, false, PLCoord(72, 96));
    EXPECT_EQ(bmp.GetSize(), PLCoord(5, 3));
    EXPECT_TRUE(bmp.HasAlpha());
    EXPECT_EQ(bmp.GetResolution(), PLCoord(72, 96));

    bmp.Create(4, 2, 32, false, false); // a plain Create afterwards is opaque black again
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(bmp.GetRow32(y)[x], PLPixel32(0, 0, 0, 255));

    bmp.CreateForOverwrite(5, 3, 8, false, true); // the grey palette is still set below 16 bpp
    EXPECT_EQ(bmp.GetPalette()[255], PLPixel32(255, 255, 255, 255));
    const int padded = bmp.BytesPerRow();
    for (int y = 0; y < 3; ++y)
        EXPECT_TRUE(std::all_of(bmp.GetRow(y) + 5, bmp.GetRow(y) + padded, [](uint8_t b) { return b == 0; }))
            << y;

    bmp.CreateForOverwrite(13, 3, 1, false, false);
    for (int y = 0; y < 3; ++y)
        EXPECT_TRUE(
            std::all_of(bmp.GetRow(y), bmp.GetRow(y) + bmp.BytesPerRow(), [](uint8_t b) { return b == 0; }));
}

TEST(PLBmpCreateForOverwrite, OnlyThePixelsAreLeftToTheCallerAndLaterCreatesAreOpaque)
{
    ExpectForOverwriteClearsAllButThePixelsAndCreateStaysOpaque<PLAnyBmp>();
    ExpectForOverwriteClearsAllButThePixelsAndCreateStaysOpaque<PLWinBmp>();
}

TEST(PLBmpCreateForOverwrite, ARefusedSizeKeepsTheOldPicture)
{
    PLAnyBmp bmp;
    bmp.Create(2, 2, 32, false, false);
    EXPECT_EQ(ErrorCodeOf([&] { bmp.CreateForOverwrite(PL_MAX_SIDE + 1, 1, 32, false, false); }),
        PL_ERR_DIB_TOO_LARGE);
    EXPECT_EQ(bmp.GetSize(), PLCoord(2, 2));
    EXPECT_EQ(bmp.GetRow32(1)[1], PLPixel32(0, 0, 0, 255));
    bmp.Create(1, 1, 32, false, false); // the refusal did not leave the opaque fill switched off
    EXPECT_EQ(bmp.GetRow32(0)[0], PLPixel32(0, 0, 0, 255));
}

TEST(PLFilterResize, AResizeRefusedForMemoryLeavesAnOpaqueBlackPicture)
{
    // One tall column squeezed into one long row would need every intermediate row at once.
    PLAnyBmp src, dst;
    src.Create(1, PL_MAX_SIDE, 32, false, false);
    EXPECT_EQ(
        ErrorCodeOf([&] { PLFilterResizeBilinear(PL_MAX_SIDE, 1).Apply(&src, &dst); }), PL_ERR_NO_MEMORY);
    ASSERT_EQ(dst.GetSize(), PLCoord(PL_MAX_SIDE, 1));
    EXPECT_TRUE(std::all_of(dst.GetRow32(0), dst.GetRow32(0) + PL_MAX_SIDE,
        [](const PLPixel32& p) { return p == PLPixel32(0, 0, 0, 255); }));
}
