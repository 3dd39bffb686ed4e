#include "imaging/raster/PLPGMDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

using namespace raster;

PLPGMDecoder::~PLPGMDecoder() = default;

void PLPGMDecoder::Open(PLDataSource* pDataSrc)
{
    Trace(2, "Decoding PGM.\n");
    m_bHeaderValid = false;
    m_Header = ReadPnmHeader(*pDataSrc, '2', '5', "PGM decoder: Is not the correct identifier P5 or P2.");
    CheckImageSize(m_Header.width, m_Header.height, 8, "PGM decoder: Bad picture size.");
    SetInfo(PLCoord(static_cast<int32_t>(m_Header.width), static_cast<int32_t>(m_Header.height)), 8,
        PLCoord(0, 0), false, true);
    m_bHeaderValid = true;
}

void PLPGMDecoder::DecodeImage(PLBmp* pBmp)
{
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "PGM decoder: No picture is open.");
    if (m_Header.type > 1)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Unknown PGM image type.");
    PrepareBitmap(*pBmp, *this);
    pBmp->SetGrayPalette();
    PLBmpLock lock(*pBmp, false, true);
    const int64_t width = m_Header.width;
    const uint32_t maxValue = m_Header.maxValue;
    const int sampleBytes = PnmSampleBytes(maxValue);
    for (int y = 0; y < GetHeight(); ++y) {
        uint8_t* out = pBmp->GetRow(y);
        if (m_Header.type == 0) {
            for (int64_t x = 0; x < width; ++x)
                out[x] = ScalePnmSample(
                    static_cast<uint32_t>(std::min<int64_t>(ReadPnmNumber(*source), maxValue)), maxValue);
            continue;
        }
        const uint8_t* row = ReadBlock(*source, width * sampleBytes);
        for (int64_t x = 0; x < width; ++x)
            out[x] = ScalePnmSample(PnmSampleAt(row, x, sampleBytes), maxValue);
    }
}

void PLPGMDecoder::Close()
{
    m_bHeaderValid = false;
    PLPicDecoder::Close();
}
