#include "imaging/PLJPEGDecoder.h"

#include <algorithm>

#include "imaging/JpegGuardedCalls.h"
#include "imaging/PLBmp.h"
#include "imaging/PLDataSource.h"
#include "imaging/PLTextException.h"

namespace {

j_common_ptr Common(jpeg_decompress_struct* cinfo) { return reinterpret_cast<j_common_ptr>(cinfo); }

// Dots per inch from the JFIF density: a 1 on either axis is an aspect entry without a resolution;
// unit 2 is dots per centimetre.
PLCoord ResolutionFromDensity(const jpeg_decompress_struct& info)
{
    if (info.X_density == 1 || info.Y_density == 1)
        return PLCoord(0, 0);
    if (info.density_unit == 2)
        return PLCoord(static_cast<int32_t>(info.X_density * 2.54), static_cast<int32_t>(info.Y_density * 2.54));
    return PLCoord(info.X_density, info.Y_density);
}

} // namespace

PLJPEGDecoder::PLJPEGDecoder()
{
    InstallJpegErrorManager(Common(&m_Info), m_Errors);
    m_Source.scanLimit = kDefaultScanLimit;
    // Creation only allocates; should even that fail, the error jumps here.
    if (setjmp(m_Errors.jump)) {
        jpeg_destroy_decompress(&m_Info);
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating the JPEG decompressor.");
    }
    jpeg_create_decompress(&m_Info);
}

PLJPEGDecoder::~PLJPEGDecoder() { jpeg_destroy_decompress(&m_Info); }

void PLJPEGDecoder::Open(PLDataSource* source)
{
    // A decoder may be reused after a failure or an unfinished picture: start from a clean state.
    jpeg_abort_decompress(&m_Info);
    ResetJpegWarnings(m_Errors);
    m_pExifData = std::make_unique<ExifData>();
    // libjpeg is given exactly the bytes from the read position to the end of the source.
    const size_t remaining = static_cast<size_t>(std::max(0, source->GetBytesLeft()));
    InstallJpegSource(&m_Info, m_Source, source->GetRemainingData(), remaining, source, OnLibjpegProgress);
    if (!JpegGuardedReadHeader(&m_Info))
        RaiseLibjpegError();
    try {
        PLBmp::CheckPictureSize(m_Info.image_width, m_Info.image_height, 32);
        m_pExifData->ReadFromJpegMarkers(&m_Info);
    } catch (...) {
        jpeg_abort_decompress(&m_Info);
        throw;
    }
    SetDescriptionFromHeader();
}

void PLJPEGDecoder::SetDescriptionFromHeader()
{
    m_Kind = ChooseJpegOutput(&m_Info);
    const bool grey = m_Kind == JpegPixelKind::Grey;
    SetInfo(PLCoord(static_cast<int32_t>(m_Info.image_width), static_cast<int32_t>(m_Info.image_height)),
        grey ? 8 : 32, ResolutionFromDensity(m_Info), false, grey);
}

void PLJPEGDecoder::DecodeImage(PLBmp* bmp)
{
    if (m_bFast)
        m_Info.do_fancy_upsampling = FALSE;
    m_Info.dct_method = JDCT_FLOAT;
    if (!JpegGuardedStartDecompress(&m_Info))
        RaiseLibjpegError();
    const int bpp = m_Kind == JpegPixelKind::Grey ? 8 : 32;
    if (bmp->GetWidth() != static_cast<int>(m_Info.output_width)
        || bmp->GetHeight() != static_cast<int>(m_Info.output_height) || bmp->GetBitsPerPixel() != bpp) {
        jpeg_abort_decompress(&m_Info);
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the JPEG picture.");
    }
    bool complete = false;
    {
        PLBmpLock lock(*bmp, false, true);
        complete = JpegGuardedReadImage(&m_Info, bmp->GetLineArray(), m_Kind);
    }
    if (!complete)
        RaiseLibjpegError();
    if (m_Info.output_scanline < m_Info.output_height)
        jpeg_abort_decompress(&m_Info); // rows were missing and have been cleared
    else if (!JpegGuardedFinishDecompress(&m_Info))
        RaiseLibjpegError();
}

void PLJPEGDecoder::Close()
{
    jpeg_abort_decompress(&m_Info);
    m_pExifData.reset();
    PLPicDecoder::Close();
}

void PLJPEGDecoder::GetExifData(ExifData& out) const
{
    if (m_pExifData)
        out = *m_pExifData;
}

bool PLJPEGDecoder::OnLibjpegProgress(void* client, double fraction)
{
    // Called from inside libjpeg: nothing may be thrown from here.
    try {
        if (client)
            static_cast<PLDataSource*>(client)->NotifyProgress(fraction);
        return true;
    } catch (...) {
        return false;
    }
}

void PLJPEGDecoder::RaiseLibjpegError()
{
    std::string message = m_Errors.message;
    jpeg_abort_decompress(&m_Info);
    message += '\n';
    RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, message.c_str());
}
