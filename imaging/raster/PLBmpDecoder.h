// The Windows and OS/2 bitmap decoder: every info header size from the 12-byte OS/2 one to the
// 124-byte fifth version, 1, 4 and 8 bits per pixel (uncompressed, RLE4 and RLE8) into 8-bit
// bitmaps with the file's palette, 16, 24 and 32 bits per pixel into 32-bit bitmaps. Rows may be
// stored bottom-up (positive height) or top-down (negative height); the pixels are read from the
// data offset of the file header.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/raster/RasterSafety.h"

#include <cstdint>

class PLBmpDecoder : public PLPicDecoder {
public:
    PLBmpDecoder() = default;
    ~PLBmpDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Bmp; }

private:
    // The fields of the info header; the OS/2 form leaves those it lacks 0.
    struct InfoHeader {
        uint32_t size = 0;
        int64_t width = 0;
        int64_t height = 0;
        uint16_t planes = 0;
        uint16_t bitCount = 0;
        uint32_t compression = 0;
        uint32_t imageSize = 0;
        int32_t xPelsPerMeter = 0;
        int32_t yPelsPerMeter = 0;
        uint32_t colorsUsed = 0;
        uint32_t colorsImportant = 0;
        // Red, green, blue and alpha masks of a bit-field file (0 when the file gives none; the
        // alpha mask only in headers of 56 bytes or more).
        uint32_t masks[4] = { 0, 0, 0, 0 };
    };

    void ReadInfoHeader(PLDataSource& source, InfoHeader& header);
    // Reads colours-used entries (the depth's count when 0), but never past the pixels' start
    // when that lies after the palette's; entries the file does not give stay black.
    void ReadPalette(PLDataSource& source, const InfoHeader& header, int entryBytes, int64_t pixelStart);
    void Describe(const InfoHeader& header);
    // True when any 16- or 32-bit pixel has a bit of alphaMask set (looked at without reading them).
    static bool HasNonZeroAlpha(PLDataSource& source, const InfoHeader& header, uint32_t alphaMask);

    void DecodeUncompressed(PLDataSource& source, PLBmp& bmp) const;
    void DecodeRle(PLDataSource& source, PLBmp& bmp, bool rle4) const;
    // The trace line of an uncompressed layout that has one (1, 4, 8 and 16 bits).
    static void TraceLayout(int bits);
    // The bitmap row that the file's i-th stored row fills.
    int TargetRow(int64_t storedRow) const;

    InfoHeader m_Header;
    bool m_bHeaderValid = false;
    bool m_bTopDown = false;
    bool m_bFileAlpha = false;
    uint32_t m_AlphaMask = 0; // the bits of a 16- or 32-bit pixel that hold its alpha
    raster::RasterPalette m_Palette = raster::BlackPalette();
};
