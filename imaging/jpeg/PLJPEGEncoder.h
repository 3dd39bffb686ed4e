// The JPEG encoder: writes a picture through libjpeg with the floating-point DCT, at the quality,
// coding and smoothing set on it, with the picture's resolution or an explicit density, and with an
// EXIF block as APP1 segment when one is given (it serves the next encoding only). 32- and 24-bpp
// pictures are compressed from their own rows; 1- and 8-bpp pictures from a 32-bpp copy; other
// depths are refused with the unsupported-feature code.
#pragma once

#include <memory>

#include "imaging/codec/PLPicEncoder.h"

class ExifData;
struct JpegCompressor;

class PLJPEGEncoder : public PLPicEncoder {
public:
    PLJPEGEncoder();
    ~PLJPEGEncoder() override;

    void DoEncode(const PLBmp* bmp, PLDataSink* sink) override;

    // 0 keeps libjpeg's default tables; others are brought into 1 to 100.
    void SetQuality(int quality) { m_Quality = quality; }
    void SetOptimizeCoding(bool optimize) { m_bOptimizeCoding = optimize; }
    // Brought into 0 to 100.
    void SetSmoothingFactor(int smoothing) { m_Smoothing = smoothing; }
    // Dots per inch written instead of the picture's resolution; (0, 0) for none.
    void SetDensity(int x, int y);
    // A copy of the block is written with the next encoding; null writes none.
    void SetExifData(const ExifData* exif);

private:
    // Aborts the compression and throws what stopped it: the sink's own exception, or libjpeg's
    // message with the unsupported-feature code.
    [[noreturn]] void RaiseCompressError();

    std::unique_ptr<JpegCompressor> m_pJpeg;
    int m_Quality = 0;
    bool m_bOptimizeCoding = false;
    int m_Smoothing = 0;
    int m_DensityX = 0;
    int m_DensityY = 0;
    std::unique_ptr<ExifData> m_pExifData;
};
