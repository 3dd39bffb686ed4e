#include "imaging/tiff/PLTIFFEncoder.h"

#include <algorithm>
#include <string>
#include <vector>

#include <tiffio.h>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLDataSink.h"
#include "imaging/io/PLTextException.h"
#include "imaging/tiff/TiffMemoryClient.h"

namespace {

// libtiff's message for a failed call on this handle, or what failed when it gave none.
[[noreturn]] void RaiseTiffError(TIFF* handle, const char* what)
{
    const auto* client = handle ? static_cast<const TiffMemoryClient*>(TIFFClientdata(handle)) : nullptr;
    if (client)
        client->RaiseSinkError(); // a full disk is the sink's error, not a TIFF one
    const std::string text = client && !client->LastError().empty() ? client->LastError() : std::string(what);
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, text.c_str());
}

void CheckDepth(const PLBmp& bmp)
{
    const int bpp = bmp.GetBitsPerPixel();
    if (bpp != 1 && bpp != 8 && bpp != 24 && bpp != 32)
        PLPicEncoder::RaiseUnsupportedDepth(bpp, "TIFF");
}

// Bilevel pictures are min-is-black when entry 0 is darker than entry 1 in every channel.
uint16_t BilevelPhotometric(const PLBmp& bmp)
{
    const PLPixel32* palette = bmp.GetPalette();
    if (palette && palette[0].GetR() < palette[1].GetR() && palette[0].GetG() < palette[1].GetG()
        && palette[0].GetB() < palette[1].GetB())
        return PHOTOMETRIC_MINISBLACK;
    return PHOTOMETRIC_MINISWHITE;
}

bool SetBaseTags(TIFF* handle, const PLBmp& bmp, uint16_t compression)
{
    const int bpp = bmp.GetBitsPerPixel();
    const bool alpha = bpp == 32 && bmp.HasAlpha();
    const uint16_t samples = bpp > 8 ? (alpha ? 4 : 3) : 1;
    uint16_t photometric = PHOTOMETRIC_RGB;
    if (bpp == 1)
        photometric = BilevelPhotometric(bmp);
    else if (bpp == 8)
        photometric = PHOTOMETRIC_PALETTE;
    bool ok = TIFFSetField(handle, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(bmp.GetWidth()))
        && TIFFSetField(handle, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(bmp.GetHeight()))
        && TIFFSetField(handle, TIFFTAG_BITSPERSAMPLE, static_cast<uint16_t>(bpp < 8 ? bpp : 8))
        && TIFFSetField(handle, TIFFTAG_SAMPLESPERPIXEL, samples);
    if (ok && alpha) {
        // The alpha of a bitmap is straight, not premultiplied.
        const uint16_t extra[] = { EXTRASAMPLE_UNASSALPHA };
        ok = TIFFSetField(handle, TIFFTAG_EXTRASAMPLES, uint16_t { 1 }, extra);
    }
    return ok && TIFFSetField(handle, TIFFTAG_COMPRESSION, compression)
        && TIFFSetField(handle, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
        && TIFFSetField(handle, TIFFTAG_XRESOLUTION, static_cast<float>(bmp.GetResolution().x))
        && TIFFSetField(handle, TIFFTAG_YRESOLUTION, static_cast<float>(bmp.GetResolution().y))
        && TIFFSetField(handle, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH)
        && TIFFSetField(handle, TIFFTAG_PHOTOMETRIC, photometric)
        && TIFFSetField(handle, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(handle, 0));
}

// The colour map of an 8-bpp picture. TIFF colour maps hold 16-bit values, so each 8-bit value v
// is stored as v x 257 (0 to 65535); the library's TIFF decoder scales them back to v. 8-bit
// values stored as they are would read as nearly black everywhere else.
bool SetColourMap(TIFF* handle, const PLBmp& bmp)
{
    constexpr uint16_t kScale = 257;
    std::vector<uint16_t> red(256, 0), green(256, 0), blue(256, 0);
    const PLPixel32* palette = bmp.GetPalette();
    for (int i = 0; palette && i < bmp.GetNumColors() && i < 256; ++i) {
        red[i] = static_cast<uint16_t>(palette[i].GetR() * kScale);
        green[i] = static_cast<uint16_t>(palette[i].GetG() * kScale);
        blue[i] = static_cast<uint16_t>(palette[i].GetB() * kScale);
    }
    return TIFFSetField(handle, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data()) == 1;
}

// Pixels of a 24- or 32-bpp row as red, green, blue (and alpha when kept).
void PackRgbRow(const uint8_t* source, int width, int sourceBytes, bool keepAlpha, uint8_t* out)
{
    for (int x = 0; x < width; ++x, source += sourceBytes) {
        *out++ = source[2];
        *out++ = source[1];
        *out++ = source[0];
        if (keepAlpha)
            *out++ = source[3];
    }
}

// Hands the whole file to the sink.
void WriteToSink(const std::vector<uint8_t>& bytes, PLDataSink& sink)
{
    constexpr size_t kPart = size_t { 1 } << 30;
    for (size_t done = 0; done < bytes.size();) {
        const size_t part = std::min(kPart, bytes.size() - done);
        sink.WriteBytes(static_cast<int>(part), bytes.data() + done);
        done += part;
    }
}

} // namespace

void PLTIFFEncoder::DoEncode(const PLBmp* bmp, PLDataSink* sink)
{
    CheckDepth(*bmp);
    if (!TIFFIsCODECConfigured(m_Compression))
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED,
            ("TIFF compression " + std::to_string(m_Compression) + " is not available.").c_str());
    // A sink that can go back takes the file as libtiff makes it; any other gets it whole at the end.
    const std::unique_ptr<TiffMemoryClient> client
        = sink->CanSeek() ? TiffMemoryClient::OpenForSink(*sink) : TiffMemoryClient::OpenForWriting();
    if (!client->Handle()) {
        client->RaiseSinkError();
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN,
            client->LastError().empty() ? "Cannot create the TIFF data." : client->LastError().c_str());
    }
    if (!SetBaseTags(client->Handle(), *bmp, m_Compression))
        RaiseTiffError(client->Handle(), "Cannot set the TIFF tags.");
    WriteImageData(bmp, client->Handle());
    if (client->ErrorCount() > 0 || !client->Close()) {
        client->RaiseSinkError();
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN,
            client->LastError().empty() ? "Cannot write the TIFF data." : client->LastError().c_str());
    }
    if (!sink->CanSeek())
        WriteToSink(client->Written(), *sink);
}

void PLTIFFEncoder::WriteImageData(const PLBmp* bmp, tiff* handle)
{
    const int bpp = bmp->GetBitsPerPixel();
    if (bpp == 8 && !SetColourMap(handle, *bmp))
        RaiseTiffError(handle, "Cannot set the TIFF colour map.");
    const bool alpha = bpp == 32 && bmp->HasAlpha();
    // Each row is copied first: a codec may change the buffer it is given.
    const auto rowBytes = static_cast<size_t>(bpp > 8 ? int64_t { bmp->GetWidth() } * (alpha ? 4 : 3)
                                                      : PLBmp::UnpaddedRowBytes(bmp->GetWidth(), bpp));
    std::vector<uint8_t> row(rowBytes);
    PLBmpLock lock(*bmp, true, false);
    for (int y = 0; y < bmp->GetHeight(); ++y) {
        const uint8_t* data = bmp->GetRow(y);
        if (bpp > 8)
            PackRgbRow(data, bmp->GetWidth(), bpp / 8, alpha, row.data());
        else
            std::copy(data, data + rowBytes, row.begin());
        if (TIFFWriteScanline(handle, row.data(), static_cast<uint32_t>(y), 0) != 1)
            RaiseTiffError(handle, "Cannot write a TIFF row.");
    }
}
