#include "imaging/tiff/PLTIFFDecoder.h"

#include <algorithm>
#include <cstdarg>
#include <new>
#include <string>
#include <vector>

#include <tiffio.h>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/bitmap/PLPixelCopy.h"
#include "imaging/codec/GreyPalette.h"
#include "imaging/io/PLTextException.h"
#include "imaging/tiff/TiffMemoryClient.h"
#include "imaging/tiff/TiffRows.h"
#include "platform/win/IntArithmetic.h"

namespace {

constexpr const char* kNoMemory = "Out of memory allocating TIFF buffer.";

// Dots per inch from a TIFF resolution: values of 1 or less carry none; unit 2 (inch) is taken as
// it is, unit 3 (centimetre) is converted, unit 1 (no unit) gives none.
int32_t DotsPerInch(float value, uint16_t unit)
{
    if (!(value > 1.0f))
        return 0;
    switch (unit) {
    case RESUNIT_INCH:
        return win::SaturateToInt32(static_cast<double>(value) + 0.5);
    case RESUNIT_CENTIMETER:
        return win::SaturateToInt32(static_cast<double>(value) * 2.54 + 0.5);
    default:
        return 0;
    }
}

// Ends libtiff's RGBA reading on every path.
struct RgbaImage {
    TIFFRGBAImage image {};
    bool begun = false;
    ~RgbaImage()
    {
        if (begun)
            TIFFRGBAImageEnd(&image);
    }
};

// Rows read through the RGBA reader at a time: whole strips or tile rows, at least 64 rows.
uint32_t BandRows(TIFF* tif, bool tiled, uint32_t height)
{
    uint32_t unit = 0;
    if (tiled)
        TIFFGetField(tif, TIFFTAG_TILELENGTH, &unit);
    else
        TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &unit);
    unit = std::clamp<uint32_t>(unit, 1, std::max<uint32_t>(height, 1));
    const uint32_t band = (64 + unit - 1) / unit * unit;
    return std::min(band, std::max<uint32_t>(height, 1));
}

} // namespace

PLTIFFDecoder::PLTIFFDecoder() = default;

PLTIFFDecoder::~PLTIFFDecoder()
{
    PLTIFFDecoder::Close();
}

void PLTIFFDecoder::Close()
{
    m_pClient.reset();
    PLPicDecoder::Close();
}

int PLTIFFDecoder::GetField(uint32_t tag, ...) const
{
    if (!m_pClient || !m_pClient->Handle())
        return 0;
    va_list args;
    va_start(args, tag);
    const int found = TIFFVGetField(m_pClient->Handle(), tag, args);
    va_end(args);
    return found;
}

void PLTIFFDecoder::Check(bool ok, int errorsBefore, int code, const char* what) const
{
    // An error libtiff reported is unexpected data in the file, whatever the call.
    if (m_pClient->ErrorCount() > errorsBefore)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, m_pClient->LastError().c_str());
    if (!ok)
        RaiseError(code, what);
}

void PLTIFFDecoder::Open(PLDataSource* pDataSrc)
{
    m_pClient.reset();
    m_pClient = TiffMemoryClient::OpenForReading(pDataSrc->GetRemainingData(),
        static_cast<size_t>(std::max(0, pDataSrc->GetBytesLeft())), kMaxLibtiffAllocation);
    TIFF* tif = m_pClient->Handle();
    Check(tif != nullptr, 0, PL_ERR_WRONG_SIGNATURE, "Not a TIFF file.");
    const int errors = m_pClient->ErrorCount();
    uint32_t width = 0, height = 0;
    const bool sized = TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width) == 1
        && TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height) == 1;
    Check(sized, errors, PL_ERR_FORMAT_UNKNOWN, "TIFF picture without a size.");
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &m_BitsPerSample);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &m_SamplesPerPixel);
    TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &m_PlanarConfig);
    if (TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &m_Photometric) != 1)
        m_Photometric = PHOTOMETRIC_MINISWHITE;
    m_bTiled = TIFFIsTiled(tif) != 0;
    Check(true, errors, PL_ERR_FORMAT_UNKNOWN, "Cannot read the TIFF header.");

    int bpp = 32;
    if (!m_bTiled && m_SamplesPerPixel == 1 && m_BitsPerSample == 1)
        bpp = 1;
    else if (!m_bTiled && (m_SamplesPerPixel == 1 || m_SamplesPerPixel == 2) && m_BitsPerSample >= 1
        && m_BitsPerSample <= 8)
        bpp = 8;
    CheckImageSize(width, height, bpp, "TIFF decoder: The picture is empty.");
    // Thousands of samples a pixel make rows that no real picture has and that cost libtiff's
    // readers seconds of buffer work each: refused like a picture beyond the cap.
    if (TIFFScanlineSize64(tif) > kMaxRowBytes)
        RaiseError(PL_ERR_DIB_TOO_LARGE, "TIFF decoder: The rows of the picture are too large.");
    const bool greyscale = m_Photometric == PHOTOMETRIC_MINISWHITE || m_Photometric == PHOTOMETRIC_MINISBLACK;
    const bool alpha = m_SamplesPerPixel == 4 && m_Photometric <= PHOTOMETRIC_PALETTE;
    SetInfo(PLCoord(static_cast<int32_t>(width), static_cast<int32_t>(height)), bpp, PLCoord(0, 0), alpha,
        greyscale);
    DescribeResolution();
}

void PLTIFFDecoder::DescribeResolution()
{
    TIFF* tif = m_pClient->Handle();
    float x = 0, y = 0;
    uint16_t unit = RESUNIT_INCH;
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
    TIFFGetField(tif, TIFFTAG_YRESOLUTION, &y);
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    m_Resolution = PLCoord(DotsPerInch(x, unit), DotsPerInch(y, unit));
}

void PLTIFFDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_pClient || !m_pClient->Handle())
        RaiseError(PL_ERR_INTERNAL, "No TIFF file is open.");
    if (pBmp->GetWidth() != GetWidth() || pBmp->GetHeight() != GetHeight()
        || pBmp->GetBitsPerPixel() != GetBitsPerPixel())
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the TIFF picture.");
    if (GetBitsPerPixel() <= 8)
        DoLoColor(pBmp);
    else if (IsPlainRgb())
        DoPlainRgb(pBmp);
    else
        DoRgba(pBmp);
}

void PLTIFFDecoder::SetLoColorPalette(PLBmp* pBmp)
{
    std::vector<PLPixel32> palette;
    if (m_Photometric == PHOTOMETRIC_PALETTE) {
        const int errors = m_pClient->ErrorCount();
        uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
        const bool found = TIFFGetField(m_pClient->Handle(), TIFFTAG_COLORMAP, &red, &green, &blue) == 1;
        Check(found && red && green && blue, errors, PL_ERR_FORMAT_UNKNOWN,
            "TIFF palette without a colour map.");
        palette = tiffrows::ColourMapPalette(red, green, blue, m_BitsPerSample);
    } else {
        // Photometric values other than grey and palette are read as min-is-white grey.
        Trace(2,
            m_Photometric > PHOTOMETRIC_MINISBLACK
                ? "unexpected PhotometricInterpretation, default to PHOTOMETRIC_MINISWHITE\n"
                : "");
        palette = GreyPalette(m_BitsPerSample, m_Photometric != PHOTOMETRIC_MINISBLACK);
    }
    for (size_t i = 0; i < palette.size(); ++i) {
        const PLPixel32 p = palette[i];
        pBmp->SetPaletteEntry(static_cast<int>(i), p.GetR(), p.GetG(), p.GetB(), 255);
    }
}

void PLTIFFDecoder::ReadStripRows(
    int code, int tolerateFrom, const std::function<void(int, const uint8_t*, size_t)>& useRow)
{
    TIFF* tif = m_pClient->Handle();
    const int64_t scanline = TIFFScanlineSize64(tif);
    const int64_t stripBytes = TIFFStripSize64(tif);
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    Check(scanline > 0 && stripBytes > 0, m_pClient->ErrorCount(), PL_ERR_FORMAT_UNKNOWN,
        "Bad TIFF strip size.");
    rowsPerStrip = std::clamp<uint32_t>(rowsPerStrip, 1, static_cast<uint32_t>(GetHeight()));
    std::vector<uint8_t> strip;
    try {
        strip.assign(static_cast<size_t>(stripBytes), 0);
    } catch (const std::bad_alloc&) {
        RaiseError(PL_ERR_NO_MEMORY, kNoMemory);
    }
    const auto lineBytes = static_cast<size_t>(scanline);
    for (uint32_t top = 0; top < static_cast<uint32_t>(GetHeight()); top += rowsPerStrip) {
        const int errors = m_pClient->ErrorCount();
        const tmsize_t got
            = TIFFReadEncodedStrip(tif, top / rowsPerStrip, strip.data(), static_cast<tmsize_t>(stripBytes));
        if (got < 0 || m_pClient->ErrorCount() != errors) {
            // A strip libtiff reports an error for fails the picture wherever it lies; one that
            // fails without a word is tolerated from the row given on, keeping the rows before it.
            Check(top >= static_cast<uint32_t>(tolerateFrom), errors, code, "Cannot read a TIFF strip.");
            return;
        }
        const uint32_t rows = std::min(rowsPerStrip, static_cast<uint32_t>(GetHeight()) - top);
        for (uint32_t r = 0; r < rows && size_t { r } * lineBytes < static_cast<size_t>(got); ++r)
            useRow(static_cast<int>(top + r), strip.data() + size_t { r } * lineBytes,
                std::min(lineBytes, static_cast<size_t>(got) - size_t { r } * lineBytes));
    }
}

void PLTIFFDecoder::DoLoColor(PLBmp* pBmp)
{
    SetLoColorPalette(pBmp);
    // Separate planes hold one sample per pixel in each row of the first plane.
    const int samples = m_PlanarConfig == PLANARCONFIG_SEPARATE ? 1 : m_SamplesPerPixel;
    const bool copy = GetBitsPerPixel() == 1 || (m_BitsPerSample == 8 && samples == 1);
    const auto rowBytes = static_cast<size_t>(PLBmp::UnpaddedRowBytes(GetWidth(), GetBitsPerPixel()));
    PLBmpLock lock(*pBmp, false, true);
    // Damage in the first third fails the picture; later, the rows read so far are kept.
    ReadStripRows(PL_ERR_INTERNAL, GetHeight() / 3, [&](int y, const uint8_t* line, size_t bytes) {
        if (copy)
            std::copy_n(line, std::min(bytes, rowBytes), pBmp->GetRow(y));
        else
            tiffrows::UnpackFirstSamples(line, bytes, m_BitsPerSample, samples, pBmp->GetRow(y), GetWidth());
    });
}

bool PLTIFFDecoder::IsPlainRgb() const
{
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(m_pClient->Handle(), TIFFTAG_ORIENTATION, &orientation);
    return !m_bTiled && m_Photometric == PHOTOMETRIC_RGB && m_BitsPerSample == 8 && m_SamplesPerPixel == 3
        && m_PlanarConfig == PLANARCONFIG_CONTIG && orientation == ORIENTATION_TOPLEFT;
}

void PLTIFFDecoder::DoPlainRgb(PLBmp* pBmp)
{
    const auto width = static_cast<size_t>(GetWidth());
    PLBmpLock lock(*pBmp, false, true);
    ReadStripRows(PL_ERR_WRONG_SIGNATURE, GetHeight(), [&](int y, const uint8_t* line, size_t bytes) {
        PLPixelCopy::RgbToPixels32(line, pBmp->GetRow(y), static_cast<int64_t>(std::min(width, bytes / 3)));
    });
}

void PLTIFFDecoder::DoRgba(PLBmp* pBmp)
{
    TIFF* tif = m_pClient->Handle();
    char message[1024] = "";
    RgbaImage rgba;
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&rgba.image, tif, 1, message))
        RaiseError(PL_ERR_WRONG_SIGNATURE, "TIFF subformat not supported.");
    rgba.begun = true;
    // libtiff premultiplies unassociated alpha and hands associated alpha on premultiplied; the
    // bitmap's alpha is straight. Files that do not say which alpha they hold are read as stored.
    uint16_t extraCount = 0;
    uint16_t* extraTypes = nullptr;
    const bool associated = TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes) == 1
        && extraCount > 0 && extraTypes && extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    if (associated || rgba.image.alpha == EXTRASAMPLE_UNASSALPHA)
        tiffrows::UseStraightAlpha(rgba.image, associated);
    rgba.image.req_orientation = ORIENTATION_TOPLEFT;

    const auto width = static_cast<uint32_t>(GetWidth());
    const auto height = static_cast<uint32_t>(GetHeight());
    const uint32_t band = BandRows(tif, m_bTiled, height);
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t { width } * band);
    } catch (const std::bad_alloc&) {
        RaiseError(PL_ERR_NO_MEMORY, kNoMemory);
    }
    PLBmpLock lock(*pBmp, false, true);
    for (uint32_t top = 0; top < height; top += band) {
        const uint32_t rows = std::min(band, height - top);
        // A band that libtiff reads whole is written whole; one it fails on is not copied.
        rgba.image.row_offset = static_cast<int>(top);
        const int errors = m_pClient->ErrorCount();
        Check(TIFFRGBAImageGet(&rgba.image, raster.data(), width, rows) == 1, errors, PL_ERR_WRONG_SIGNATURE,
            "Cannot read the TIFF picture.");
        for (uint32_t y = 0; y < rows; ++y)
            tiffrows::RasterToPixels(raster.data() + size_t { y } * width,
                pBmp->GetRow(static_cast<int>(top + y)), GetWidth(), HasAlpha());
    }
}
