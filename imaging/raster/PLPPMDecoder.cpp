#include "imaging/raster/PLPPMDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/bitmap/PLPixelCopy.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

using namespace raster;

PLPPMDecoder::~PLPPMDecoder() = default;

void PLPPMDecoder::Open(PLDataSource* pDataSrc)
{
    Trace(2, "Decoding PPM.\n");
    m_bHeaderValid = false;
    m_Header = ReadPnmHeader(*pDataSrc, '3', '6', "PPM decoder: Is not the correct identifier P3 or P6.");
    CheckImageSize(m_Header.width, m_Header.height, 32, "PPM decoder: Bad picture size.");
    SetInfo(PLCoord(static_cast<int32_t>(m_Header.width), static_cast<int32_t>(m_Header.height)), 32,
        PLCoord(0, 0), false, false);
    m_bHeaderValid = true;
}

void PLPPMDecoder::DecodeImage(PLBmp* pBmp)
{
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "PPM decoder: No picture is open.");
    if (m_Header.type > 1)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Unknown PPM image type.");
    PrepareBitmap(*pBmp, *this);
    PLBmpLock lock(*pBmp, false, true);
    const int64_t width = m_Header.width;
    const uint32_t maxValue = m_Header.maxValue;
    const int sampleBytes = PnmSampleBytes(maxValue);
    const auto sample = [maxValue](int64_t v) {
        return ScalePnmSample(static_cast<uint32_t>(std::min<int64_t>(v, maxValue)), maxValue);
    };
    for (int y = 0; y < GetHeight(); ++y) {
        PLPixel32* out = pBmp->GetRow32(y);
        if (m_Header.type == 0) {
            for (int64_t x = 0; x < width; ++x) {
                const uint8_t r = sample(ReadPnmNumber(*source));
                const uint8_t g = sample(ReadPnmNumber(*source));
                out[x].Set(r, g, sample(ReadPnmNumber(*source)), 255);
            }
            continue;
        }
        const uint8_t* row = ReadBlock(*source, width * 3 * sampleBytes);
        if (maxValue == 255) {
            // The common case: one byte a sample at the maximum 255.
            PLPixelCopy::RgbToPixels32(row, reinterpret_cast<uint8_t*>(out), width);
            continue;
        }
        for (int64_t x = 0; x < width; ++x)
            out[x].Set(sample(PnmSampleAt(row, 3 * x, sampleBytes)),
                sample(PnmSampleAt(row, 3 * x + 1, sampleBytes)),
                sample(PnmSampleAt(row, 3 * x + 2, sampleBytes)), 255);
    }
}

void PLPPMDecoder::Close()
{
    m_bHeaderValid = false;
    PLPicDecoder::Close();
}
