// Saving the picture: in its own file type, or as a fitted copy under the encoder lock. Every file
// is written through a file sink, which replaces the old file only with a complete new one.
#include "imaging/wrapper/DeviceIndepBitmap.h"

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGEncoder.h"
#include "imaging/png/PLPNGEncoder.h"
#include "imaging/raster/PLBmpEncoder.h"
#include "imaging/resize/FitWithinBox.h"
#include "imaging/tiff/PLTIFFEncoder.h"
#include "imaging/wrapper/EncoderLock.h"

namespace Pellimar {

namespace {

ImageResult NoImageData()
{
    return { "There is no image data to save", 5, 0 };
}

// The size that fits the picture into the box; the picture's own size when the box has no limit.
PLCoord FittedSize(const PLCoord& size, int32_t maxW, int32_t maxH)
{
    if (maxW <= 0 || maxH <= 0)
        return size;
    const win::SIZE fitted = FitWithinBox(size.x, size.y, maxW, maxH);
    return PLCoord(fitted.cx, fitted.cy);
}

} // namespace

bool DeviceIndepBitmap::CanSave() const
{
    switch (m_FileType) {
    case PLFileType::Bmp:
    case PLFileType::Tiff:
    case PLFileType::Jpeg:
    case PLFileType::Png:
        return true;
    default:
        return false;
    }
}

ImageResult DeviceIndepBitmap::Save(const std::string& path, bool withExif)
{
    if (!m_pBitmap)
        return NoImageData();
    std::unique_ptr<PLPicEncoder> encoder;
    switch (m_FileType) {
    case PLFileType::Bmp:
        encoder = std::make_unique<PLBmpEncoder>();
        break;
    case PLFileType::Tiff:
        encoder = std::make_unique<PLTIFFEncoder>();
        break;
    case PLFileType::Jpeg: {
        auto jpeg = std::make_unique<PLJPEGEncoder>();
        jpeg->SetQuality(m_JpegQuality);
        const PLCoord resolution = m_pBitmap->GetResolution();
        jpeg->SetDensity(resolution.x, resolution.y);
        if (withExif && m_pExif)
            jpeg->SetExifData(m_pExif.get());
        encoder = std::move(jpeg);
        break;
    }
    case PLFileType::Png:
        encoder = std::make_unique<PLPNGEncoder>();
        break;
    default:
        return { "File save not supported for this file type", 6, 0 };
    }
    encoder->SetFileCalls(m_FileCalls);
    try {
        encoder->EncodeFile(path.c_str(), m_pBitmap.get());
    } catch (const PLTextException& e) {
        return ResultFromException(e);
    }
    m_bModified = false;
    return {};
}

ImageResult DeviceIndepBitmap::SaveResizedJpeg(const std::string& path, const std::string& sourcePath,
    PLPicDecoder& decoder, int32_t maxW, int32_t maxH, bool reload)
{
    PLJPEGEncoder encoder;
    encoder.SetQuality(m_JpegQuality);
    return SaveResized(path, sourcePath, decoder, maxW, maxH, reload, encoder);
}

ImageResult DeviceIndepBitmap::SaveResizedBmp(const std::string& path, const std::string& sourcePath,
    PLPicDecoder& decoder, int32_t maxW, int32_t maxH, bool reload)
{
    PLBmpEncoder encoder;
    return SaveResized(path, sourcePath, decoder, maxW, maxH, reload, encoder);
}

ImageResult DeviceIndepBitmap::SaveResized(const std::string& path, const std::string& sourcePath,
    PLPicDecoder& decoder, int32_t maxW, int32_t maxH, bool reload, PLPicEncoder& encoder)
{
    if (!m_pBitmap)
        return NoImageData();
    encoder.SetFileCalls(m_FileCalls);
    try {
        // The picture is only read: a bitmap of the save's own is filled only by a step that makes
        // new pixels (a depth other than 32 bpp, a decode from the source file, a new size).
        PLWinBmp copy;
        PLBmp* picture = m_pBitmap.get();
        if (picture->GetBitsPerPixel() != 32) {
            copy.CreateCopy(*picture, 32);
            picture = &copy;
        }
        PLCoord fitted = FittedSize(picture->GetSize(), maxW, maxH);
        if (!sourcePath.empty()
            && (reload || fitted.x > picture->GetWidth() || fitted.y > picture->GetHeight())) {
            decoder.OpenFile(sourcePath.c_str(), nullptr);
            decoder.GetImage(copy, 32);
            decoder.Close();
            picture = &copy;
            fitted = FittedSize(copy.GetSize(), maxW, maxH);
        }
        // Scaled from the picture straight into the save's bitmap (in place when that is the source).
        if (fitted != picture->GetSize()) {
            PLFilterResizeBilinear(fitted.x, fitted.y).Apply(picture, &copy);
            picture = &copy;
        }
        const EncoderLock::Scoped lock;
        encoder.EncodeFile(path.c_str(), picture);
    } catch (const PLTextException& e) {
        decoder.Close();
        return ResultFromException(e);
    }
    return {};
}

} // namespace Pellimar
