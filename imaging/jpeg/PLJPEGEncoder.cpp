#include "imaging/jpeg/PLJPEGEncoder.h"

#include <algorithm>
#include <string>
#include <utility>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/JpegCompressCalls.h"
#include "imaging/jpeg/JpegCompressor.h"

namespace {

j_common_ptr Common(jpeg_compress_struct& info)
{
    return reinterpret_cast<j_common_ptr>(&info);
}

UINT16 Density(int value)
{
    return static_cast<UINT16>(std::clamp(value, 0, 65535));
}

} // namespace

PLJPEGEncoder::PLJPEGEncoder()
    : m_pJpeg(std::make_unique<JpegCompressor>())
{
    InstallJpegErrorManager(Common(m_pJpeg->info), m_pJpeg->errors);
    // Creation only allocates; should even that fail, the error jumps here.
    if (setjmp(m_pJpeg->errors.jump)) {
        jpeg_destroy_compress(&m_pJpeg->info);
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating the JPEG compressor.");
    }
    jpeg_create_compress(&m_pJpeg->info);
}

PLJPEGEncoder::~PLJPEGEncoder()
{
    jpeg_destroy_compress(&m_pJpeg->info);
}

void PLJPEGEncoder::SetDensity(int x, int y)
{
    m_DensityX = x;
    m_DensityY = y;
}

void PLJPEGEncoder::SetExifData(const ExifData* exif)
{
    m_pExifData = exif ? std::make_unique<ExifData>(*exif) : nullptr;
}

void PLJPEGEncoder::DoEncode(const PLBmp* bmp, PLDataSink* sink)
{
    // The EXIF block serves this encoding only, whatever its outcome.
    const std::unique_ptr<ExifData> exif = std::move(m_pExifData);
    // Depths other than 24 and 32 are compressed from a 32-bpp copy (which refuses depths it
    // cannot convert), so that libjpeg never reads a row as longer than it is.
    PLAnyBmp copy;
    const PLBmp* source = bmp;
    const int bpp = bmp->GetBitsPerPixel();
    if (bpp != 24 && bpp != 32) {
        copy.CreateCopy(*bmp, 32);
        source = &copy;
    }
    const bool fourBytes = source->GetBitsPerPixel() == 32;

    JpegCompressSettings settings {};
    settings.width = static_cast<JDIMENSION>(source->GetWidth());
    settings.height = static_cast<JDIMENSION>(source->GetHeight());
    settings.components = fourBytes ? 4 : 3;
    settings.colourSpace = fourBytes ? JCS_EXT_BGRX : JCS_EXT_BGR;
    settings.quality = m_Quality == 0 ? 0 : std::clamp(m_Quality, 1, 100);
    settings.optimizeCoding = m_bOptimizeCoding;
    settings.smoothing = std::clamp(m_Smoothing, 0, 100);
    if (m_DensityX != 0 || m_DensityY != 0) {
        settings.densityUnit = 1;
        settings.xDensity = Density(m_DensityX);
        settings.yDensity = Density(m_DensityY);
    } else {
        // The picture's own resolution, without a unit; none leaves libjpeg's 1:1 aspect.
        settings.densityUnit = 0;
        settings.xDensity = Density(bmp->GetResolution().x);
        settings.yDensity = Density(bmp->GetResolution().y);
    }
    if (exif && !exif->GetBlock().empty()) {
        settings.app1 = exif->GetBlock().data();
        settings.app1Size = exif->GetBlock().size();
    }

    jpeg_compress_struct& info = m_pJpeg->info;
    // An encoder may be reused after a failure: start from a clean state.
    jpeg_abort_compress(&info);
    InstallJpegDestination(&info, m_pJpeg->destination, sink);
    if (!JpegGuardedStartCompress(&info, settings))
        RaiseCompressError();
    {
        PLBmpLock lock(*source, true, false);
        if (!JpegGuardedWriteRows(&info, source->GetLineArray(), settings.height))
            RaiseCompressError();
    }
    if (!JpegGuardedFinishCompress(&info))
        RaiseCompressError();
}

void PLJPEGEncoder::RaiseCompressError()
{
    jpeg_abort_compress(&m_pJpeg->info);
    if (const std::exception_ptr failure = std::exchange(m_pJpeg->destination.failure, nullptr))
        std::rethrow_exception(failure);
    const std::string message = std::string(m_pJpeg->errors.message) + "\n";
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, message.c_str());
}
