#include "imaging/raster/PLSGIDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

#include <algorithm>

using namespace raster;

PLSGIDecoder::~PLSGIDecoder() = default;

void PLSGIDecoder::Open(PLDataSource* pDataSrc)
{
    Trace(2, "Decoding SGI.\n");
    m_bHeaderValid = false;
    const uint8_t* p = ReadBlock(*pDataSrc, 512);
    Header& h = m_Header;
    h.magic = LoadU16BE(p);
    h.storage = p[2];
    h.bytesPerChannel = p[3];
    h.dimension = LoadU16BE(p + 4);
    h.xSize = LoadU16BE(p + 6);
    h.ySize = LoadU16BE(p + 8);
    h.zSize = LoadU16BE(p + 10);
    h.colourMapId = LoadU32BE(p + 104);
    CheckHeader();
    const bool grey = h.zSize == 1;
    SetInfo(
        PLCoord(h.xSize, h.ySize), grey ? 8 : 32, PLCoord(0, 0), h.zSize == 4, grey && h.colourMapId == 0);
    m_bHeaderValid = true;
}

void PLSGIDecoder::CheckHeader() const
{
    const Header& h = m_Header;
    // The first four refusals are raised without the decoder's frame.
    if (h.magic != 474)
        throw PLTextException(PL_ERR_WRONG_SIGNATURE, "SGI decoder invoked for non-SGI file.");
    if (h.zSize == 2)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Two-channel SGI RGB files are not supported.");
    if (h.dimension == 1)
        throw PLTextException(
            PL_ERR_FORMAT_NOT_SUPPORTED, "One-dimensional SGI RGB files are not supported.");
    if (h.storage == 1)
        throw PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, "Compressed SGI RGB files are not supported.");
    if (h.bytesPerChannel == 2)
        RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "SGI decoder: Two bytes per channel are not supported.");
    if (h.bytesPerChannel != 1)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "SGI decoder: Bad number of bytes per channel.");
    if (h.zSize != 1 && h.zSize != 3 && h.zSize != 4)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "SGI decoder: Bad number of channels.");
    CheckImageSize(h.xSize, h.ySize, h.zSize == 1 ? 8 : 32, "SGI decoder: Bad picture size.");
}

void PLSGIDecoder::DecodeImage(PLBmp* pBmp)
{
    PLDataSource* source = GetDataSource();
    if (!m_bHeaderValid || !source)
        RaiseError(PL_ERR_INTERNAL, "SGI decoder: No picture is open.");
    PrepareBitmap(*pBmp, *this);
    PLBmpLock lock(*pBmp, false, true);
    const int width = GetWidth();
    const int height = GetHeight();
    // Each channel is a whole picture, bottom row first; channel 0 is red, 1 green, 2 blue, 3 alpha.
    static constexpr int kByteOfChannel[4] = { 2, 1, 0, 3 };
    const int channels = m_Header.zSize;
    for (int c = 0; c < channels; ++c) {
        for (int i = 0; i < height; ++i) {
            const uint8_t* row = ReadBlock(*source, width);
            uint8_t* out = pBmp->GetRow(height - 1 - i);
            if (channels == 1) {
                std::copy(row, row + width, out);
                continue;
            }
            for (int x = 0; x < width; ++x)
                out[4 * x + kByteOfChannel[c]] = row[x];
        }
    }
}

void PLSGIDecoder::Close()
{
    m_bHeaderValid = false;
    PLPicDecoder::Close();
}
