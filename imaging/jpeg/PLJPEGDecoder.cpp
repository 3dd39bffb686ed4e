#include "imaging/jpeg/PLJPEGDecoder.h"

#include <algorithm>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/JpegDecompressor.h"
#include "imaging/jpeg/JpegGuardedCalls.h"

namespace {

j_common_ptr Common(jpeg_decompress_struct& info)
{
    return reinterpret_cast<j_common_ptr>(&info);
}

// Dots per inch from the JFIF density: a 1 on either axis is an aspect entry without a resolution;
// unit 2 is dots per centimetre.
PLCoord ResolutionFromDensity(const jpeg_decompress_struct& info)
{
    if (info.X_density == 1 || info.Y_density == 1)
        return PLCoord(0, 0);
    if (info.density_unit == 2)
        return PLCoord(
            static_cast<int32_t>(info.X_density * 2.54), static_cast<int32_t>(info.Y_density * 2.54));
    return PLCoord(info.X_density, info.Y_density);
}

// Rows from first to the bottom become black, alpha 255 at 32 bpp, so that a picture that failed
// part way holds no stale or uninitialised bytes.
void ClearRowsFrom(PLBmp& bmp, int first)
{
    const JpegPixelKind kind = bmp.GetBitsPerPixel() == 8 ? JpegPixelKind::Grey : JpegPixelKind::Colour;
    for (int y = std::max(0, first); y < bmp.GetHeight(); ++y)
        ClearMissingRow(bmp.GetRow(y), static_cast<uint32_t>(bmp.GetWidth()), kind);
}

} // namespace

PLJPEGDecoder::PLJPEGDecoder()
    : m_pJpeg(std::make_unique<JpegDecompressor>())
{
    InstallJpegErrorManager(Common(m_pJpeg->info), m_pJpeg->errors);
    m_pJpeg->source.scanLimit = kDefaultScanLimit;
    // Creation only allocates; should even that fail, the error jumps here.
    if (setjmp(m_pJpeg->errors.jump)) {
        jpeg_destroy_decompress(&m_pJpeg->info);
        throw PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating the JPEG decompressor.");
    }
    jpeg_create_decompress(&m_pJpeg->info);
}

PLJPEGDecoder::~PLJPEGDecoder()
{
    jpeg_destroy_decompress(&m_pJpeg->info);
}

void PLJPEGDecoder::SetScale(int denominator)
{
    m_Scale = denominator == 2 || denominator == 4 || denominator == 8 ? denominator : 1;
}

void PLJPEGDecoder::SetScanLimit(int scans)
{
    m_pJpeg->source.scanLimit = scans;
}

int PLJPEGDecoder::GetWarningCount() const
{
    return m_pJpeg->errors.warningCount;
}

std::string PLJPEGDecoder::GetLastWarning() const
{
    return m_pJpeg->errors.lastWarning;
}

void PLJPEGDecoder::Open(PLDataSource* source)
{
    jpeg_decompress_struct& info = m_pJpeg->info;
    // A decoder may be reused after a failure or an unfinished picture: start from a clean state.
    jpeg_abort_decompress(&info);
    ResetJpegWarnings(m_pJpeg->errors);
    m_pExifData = std::make_unique<ExifData>();
    // libjpeg is given exactly the bytes from the read position to the end of the source.
    const auto remaining = static_cast<size_t>(std::max(0, source->GetBytesLeft()));
    InstallJpegSource(
        &info, m_pJpeg->source, source->GetRemainingData(), remaining, source, OnLibjpegProgress);
    if (!JpegGuardedReadHeader(&info))
        RaiseLibjpegError();
    try {
        CheckImageSize(info.image_width, info.image_height, 32, "JPEG decoder: The picture is empty.");
        m_pExifData->ReadFromJpegMarkers(&info);
    } catch (...) {
        jpeg_abort_decompress(&info);
        throw;
    }
    SetDescriptionFromHeader();
}

void PLJPEGDecoder::SetDescriptionFromHeader()
{
    const jpeg_decompress_struct& info = m_pJpeg->info;
    m_pJpeg->kind = ChooseJpegOutput(&m_pJpeg->info);
    const bool grey = m_pJpeg->kind == JpegPixelKind::Grey;
    // The scale stays set until the next header is read, so the decode delivers this size.
    m_pJpeg->info.scale_num = 1;
    m_pJpeg->info.scale_denom = static_cast<unsigned>(m_Scale);
    jpeg_calc_output_dimensions(&m_pJpeg->info);
    const PLCoord density = ResolutionFromDensity(info);
    SetInfo(PLCoord(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height)),
        grey ? 8 : 32, PLCoord(density.x / m_Scale, density.y / m_Scale), false, grey);
}

void PLJPEGDecoder::GetImage(PLBmp& bmp, int bpp)
{
    if (bpp != 0 && bpp != GetBitsPerPixel()) {
        PLPicDecoder::GetImage(bmp, bpp);
        return;
    }
    try {
        bmp.CreateForOverwrite(
            GetWidth(), GetHeight(), GetBitsPerPixel(), HasAlpha(), IsGreyscale(), GetResolution());
        DecodeImage(&bmp);
    } catch (...) {
        CheckSourceIntact();
        throw;
    }
    CheckSourceIntact();
}

void PLJPEGDecoder::DecodeImage(PLBmp* bmp)
{
    jpeg_decompress_struct& info = m_pJpeg->info;
    const int bpp = m_pJpeg->kind == JpegPixelKind::Grey ? 8 : 32;
    // The output has the size Open described (the picture's own, or scaled by SetScale).
    if (bmp->GetWidth() != GetWidth() || bmp->GetHeight() != GetHeight() || bmp->GetBitsPerPixel() != bpp) {
        jpeg_abort_decompress(&info);
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the JPEG picture.");
    }
    if (m_bFast)
        info.do_fancy_upsampling = FALSE;
    info.dct_method = JDCT_FLOAT;
    PLBmpLock lock(*bmp, false, true);
    if (!JpegGuardedStartDecompress(&info)) {
        ClearRowsFrom(*bmp, 0);
        RaiseLibjpegError();
    }
    if (static_cast<int>(info.output_width) != GetWidth()
        || static_cast<int>(info.output_height) != GetHeight()) {
        ClearRowsFrom(*bmp, 0);
        jpeg_abort_decompress(&info);
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the JPEG picture.");
    }
    if (!JpegGuardedReadImage(&info, bmp->GetLineArray(), m_pJpeg->kind)) {
        // Rows before the output line were delivered whole; the rest may be partly written.
        ClearRowsFrom(*bmp, static_cast<int>(info.output_scanline));
        RaiseLibjpegError();
    }
    if (info.output_scanline < info.output_height)
        jpeg_abort_decompress(&info); // rows were missing and have been cleared
    else if (!JpegGuardedFinishDecompress(&info))
        RaiseLibjpegError();
}

void PLJPEGDecoder::Close()
{
    jpeg_abort_decompress(&m_pJpeg->info);
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
    std::string message = m_pJpeg->errors.message;
    jpeg_abort_decompress(&m_pJpeg->info);
    message += '\n';
    RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, message.c_str());
}
