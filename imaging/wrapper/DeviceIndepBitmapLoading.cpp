// Loading the picture through any decoder of the library.
#include "imaging/wrapper/DeviceIndepBitmap.h"

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"

namespace Pellimar {

ImageResult DeviceIndepBitmap::DecodeFile(const std::string& path, PLPicDecoder& decoder, int32_t maxW,
    int32_t maxH, const std::function<void()>& whileOpen)
{
    // Never decoded into pixels that a copy shares.
    if (!m_pBitmap || SharesPixels())
        m_pBitmap = std::make_shared<PLWinBmp>();
    NotePixelChange();
    try {
        decoder.OpenFile(path.c_str(), nullptr);
        decoder.GetImage(*m_pBitmap, 32);
        m_FileType = decoder.GetFileType();
        if (whileOpen)
            whileOpen();
        decoder.Close();
        ShrinkToBox(maxW, maxH);
    } catch (const PLTextException& e) {
        decoder.Close();
        return ResultFromException(e);
    }
    m_bModified = false;
    m_QuarterTurns = 0;
    m_DecodeScale = 1;
    return {};
}

ImageResult DeviceIndepBitmap::LoadFile(
    const std::string& path, PLPicDecoder& decoder, int32_t maxW, int32_t maxH)
{
    m_pExif.reset();
    return DecodeFile(path, decoder, maxW, maxH, nullptr);
}

ImageResult DeviceIndepBitmap::LoadJpeg(
    const std::string& path, PLPicDecoder& decoder, int32_t maxW, int32_t maxH)
{
    const ImageResult decoded = DecodeFile(path, decoder, maxW, maxH, nullptr);
    if (decoded.severity != 0 || !m_pExif || m_FileType != kJpegFile)
        return decoded;
    // The picture's own decoder need not keep EXIF data: a JPEG decoder reads the file's again.
    PLJPEGDecoder exifReader;
    try {
        exifReader.OpenFile(path.c_str(), nullptr);
        exifReader.GetExifData(*m_pExif);
        exifReader.Close();
    } catch (const PLTextException& e) {
        exifReader.Close();
        return ResultFromException(e);
    }
    return decoded;
}

} // namespace Pellimar
