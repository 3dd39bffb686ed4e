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
        // Red, green and blue masks of a bit-field file (0 when the file gives none).
        uint32_t masks[3] = { 0, 0, 0 };
    };

    void ReadInfoHeader(PLDataSource& source, InfoHeader& header);
    void ReadPalette(PLDataSource& source, const InfoHeader& header, int entryBytes);
    void Describe(const InfoHeader& header);
    // True when any fourth byte of the 32-bit pixels is not 0 (looked at without reading them).
    static bool HasNonZeroAlpha(PLDataSource& source, int64_t width, int64_t height);

    void DecodeUncompressed(PLDataSource& source, PLBmp& bmp) const;
    void DecodeRle(PLDataSource& source, PLBmp& bmp, bool rle4) const;
    // The bitmap row that the file's i-th stored row fills.
    int TargetRow(int64_t storedRow) const;

    InfoHeader m_Header;
    bool m_bHeaderValid = false;
    bool m_bTopDown = false;
    bool m_bFileAlpha = false;
    raster::RasterPalette m_Palette = raster::BlackPalette();
};
