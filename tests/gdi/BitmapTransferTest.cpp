// BMP files around DIB blocks, and GetDIBits from a device bitmap: the offsets the file header
// states, a gap before the rows closed up, files that are none refused, and the depths offered.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/BmpFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// A 40-byte DIB header and colour table of a width x height picture, then its padded rows.
Bytes MakeDib(int width, int height, int bpp)
{
    Bytes dib(40, 0);
    dib[0] = 40;
    dib[4] = static_cast<uint8_t>(width);
    dib[8] = static_cast<uint8_t>(height);
    dib[12] = 1;
    dib[14] = static_cast<uint8_t>(bpp);
    const size_t entries = bpp <= 8 ? size_t { 1 } << bpp : 0;
    for (size_t i = 0; i < 4 * entries; ++i)
        dib.push_back(static_cast<uint8_t>(i));
    const size_t rows = gdi::DibView::RowBytes(width, bpp) * static_cast<size_t>(height);
    for (size_t i = 0; i < rows; ++i)
        dib.push_back(static_cast<uint8_t>(200 - i));
    return dib;
}

uint32_t Le32(const Bytes& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t { b[at + 3] } << 24;
}

TEST(BmpFile, HeaderStatesSizeAndRowOffsetAndReadsBack)
{
    for (const int bpp : { 1, 8, 24, 32 }) {
        SCOPED_TRACE(bpp);
        const Bytes dib = MakeDib(3, 2, bpp);
        const std::optional<Bytes> file = gdi::BmpFileFromDib(dib);
        ASSERT_TRUE(file);
        EXPECT_EQ((*file)[0], 'B');
        EXPECT_EQ((*file)[1], 'M');
        EXPECT_EQ(Le32(*file, 2), 14 + dib.size());
        EXPECT_EQ(Le32(*file, 10), 14 + 40 + (bpp <= 8 ? 4u << bpp : 0u));
        EXPECT_EQ(gdi::DibFromBmpFile(*file), dib);
    }
}

// Another program's file may leave bytes between the colour table and the rows.
TEST(BmpFile, AGapBeforeTheRowsIsClosed)
{
    const Bytes dib = MakeDib(3, 2, 24);
    Bytes file = *gdi::BmpFileFromDib(dib);
    file.insert(file.begin() + 54, 6, 0xEE);
    file[10] = 54 + 6;
    EXPECT_EQ(gdi::DibFromBmpFile(file), dib);
}

TEST(BmpFile, WhatIsNoBmpFileGivesNone)
{
    const Bytes file = *gdi::BmpFileFromDib(MakeDib(3, 2, 8));
    Bytes wrongMagic = file;
    wrongMagic[0] = 'X';
    Bytes rowsBeyond = file;
    rowsBeyond[12] = 0x10; // offset far past the end
    Bytes rowsInsideTable = file;
    rowsInsideTable[10] = 60; // inside the colour table
    rowsInsideTable[11] = 0;
    EXPECT_FALSE(gdi::DibFromBmpFile(wrongMagic));
    EXPECT_FALSE(gdi::DibFromBmpFile(rowsBeyond));
    EXPECT_FALSE(gdi::DibFromBmpFile(rowsInsideTable));
    EXPECT_FALSE(gdi::DibFromBmpFile(Bytes(file.begin(), file.begin() + 40)));
    EXPECT_FALSE(gdi::BmpFileFromDib(Bytes(20, 0)));
}

// The bitmap's own depth is copied with its colour table, 32 bpp made from any; the rows come
// bottom row first. Other depths, a bitmap short of its rows, and too small a target give 0.
TEST(GetDIBits, DepthsAndRowOrder)
{
    gdi::Bitmap bitmap;
    bitmap.width = 2;
    bitmap.height = 2;
    bitmap.bitsPerPixel = 8;
    bitmap.colours = { { 1, 2, 3, 0 }, { 40, 50, 60, 0 } };
    bitmap.bits = { 0, 1, 0, 0, 1, 1, 0, 0 }; // top row: 0 1, bottom row: 1 1
    Bytes same(8, 0xAA);
    std::vector<gdi::RGBQUAD> colours(256);
    ASSERT_EQ(gdi::GetDIBits(bitmap, 8, same.data(), same.size(), colours.data()), 2);
    EXPECT_EQ(same, (Bytes { 1, 1, 0, 0, 0, 1, 0, 0 }));
    EXPECT_EQ(colours[1].rgbRed, 60);
    EXPECT_EQ(colours[2].rgbRed, 0);

    Bytes deep(16, 0);
    ASSERT_EQ(gdi::GetDIBits(bitmap, 32, deep.data(), deep.size(), nullptr), 2);
    EXPECT_EQ(deep, (Bytes { 40, 50, 60, 255, 40, 50, 60, 255, 1, 2, 3, 255, 40, 50, 60, 255 }));

    Bytes other(16, 0);
    EXPECT_EQ(gdi::GetDIBits(bitmap, 24, other.data(), other.size(), nullptr), 0);
    EXPECT_EQ(gdi::GetDIBits(bitmap, 32, deep.data(), 15, nullptr), 0);
    bitmap.bits.resize(4);
    EXPECT_EQ(gdi::GetDIBits(bitmap, 8, same.data(), same.size(), colours.data()), 0);
}

} // namespace
