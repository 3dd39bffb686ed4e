#include "imaging/png/PLPNGDecoder.h"

#include <algorithm>
#include <vector>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/GreyPalette.h"
#include "imaging/io/PLTextException.h"
#include "platform/win/IntArithmetic.h"

namespace {

// Dots per inch from pixels per metre, rounded in single precision.
int32_t DotsPerInch(uint32_t pixelsPerMetre)
{
    return win::SaturateToInt32(static_cast<double>(static_cast<float>(pixelsPerMetre) / 39.37f + 0.5f));
}

} // namespace

PLPNGDecoder::PLPNGDecoder() = default;

PLPNGDecoder::~PLPNGDecoder()
{
    PLPNGDecoder::Close();
}

void PLPNGDecoder::Close()
{
    m_pReader.reset();
    m_pState.reset();
    PLPicDecoder::Close();
}

void PLPNGDecoder::RaiseLibpngError() const
{
    if (m_pState->endOfData)
        RaiseError(PL_ERR_END_OF_FILE, "End of file reached while decoding.");
    RaiseError(PL_ERR_FORMAT_UNKNOWN, m_pState->message);
}

void PLPNGDecoder::Open(PLDataSource* pDataSrc)
{
    m_pReader.reset();
    m_pState = std::make_unique<PngReadState>();
    m_pState->data = pDataSrc->GetRemainingData();
    m_pState->size = static_cast<size_t>(std::max(0, pDataSrc->GetBytesLeft()));
    m_pReader = std::make_unique<PngReader>(*m_pState, static_cast<uint32_t>(PL_MAX_SIDE));
    if (!m_pReader->Handle())
        RaiseError(PL_ERR_NO_MEMORY, "Out of memory creating the PNG reader.");
    if (!PngGuardedReadInfo(*m_pReader, m_Header))
        RaiseLibpngError();
    const bool colour = m_Header.colourType == PNG_COLOR_TYPE_RGB
        || m_Header.colourType == PNG_COLOR_TYPE_RGB_ALPHA
        || m_Header.colourType == PNG_COLOR_TYPE_GRAY_ALPHA;
    const bool alpha = (m_Header.colourType & PNG_COLOR_MASK_ALPHA) != 0;
    const int bpp = colour ? 32 : 8;
    CheckImageSize(m_Header.width, m_Header.height, bpp, "PNG decoder: The picture is empty.");
    PLCoord resolution(0, 0);
    if (m_Header.hasPhys && m_Header.physUnit == PNG_RESOLUTION_METER)
        resolution = PLCoord(DotsPerInch(m_Header.physX), DotsPerInch(m_Header.physY));
    SetInfo(PLCoord(static_cast<int32_t>(m_Header.width), static_cast<int32_t>(m_Header.height)), bpp,
        resolution, alpha, m_Header.colourType == PNG_COLOR_TYPE_GRAY);
}

void PLPNGDecoder::SetPalette(PLBmp* pBmp) const
{
    if (m_Header.colourType == PNG_COLOR_TYPE_GRAY) {
        const std::vector<PLPixel32> grey = GreyPalette(std::min(m_Header.bitDepth, 8));
        for (size_t i = 0; i < grey.size(); ++i)
            pBmp->SetPaletteEntry(static_cast<int>(i), grey[i].GetR(), grey[i].GetG(), grey[i].GetB(), 255);
        return;
    }
    png_colorp palette = nullptr;
    int count = 0;
    if (!png_get_PLTE(m_pReader->Handle(), m_pReader->Info(), &palette, &count) || !palette)
        count = 0;
    for (int i = 0; i < 256; ++i) {
        if (i < count)
            pBmp->SetPaletteEntry(i, palette[i].red, palette[i].green, palette[i].blue, 255);
        else
            pBmp->SetPaletteEntry(i, 0, 0, 0, 255);
    }
}

void PLPNGDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_pReader)
        RaiseError(PL_ERR_INTERNAL, "No PNG file is open.");
    if (pBmp->GetWidth() != GetWidth() || pBmp->GetHeight() != GetHeight()
        || pBmp->GetBitsPerPixel() != GetBitsPerPixel())
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the PNG picture.");
    size_t rowBytes = 0;
    if (!PngGuardedSetTransforms(*m_pReader, m_Header, rowBytes))
        RaiseLibpngError();
    // libpng must write exactly the bitmap's row, or it would write beyond it.
    if (rowBytes != static_cast<size_t>(PLBmp::UnpaddedRowBytes(GetWidth(), GetBitsPerPixel())))
        RaiseError(PL_ERR_INTERNAL, "PNG rows do not match the picture.");
    if (GetBitsPerPixel() == 8)
        SetPalette(pBmp);
    {
        PLBmpLock lock(*pBmp, false, true);
        if (!PngGuardedReadImage(*m_pReader, pBmp->GetLineArray()))
            RaiseLibpngError();
    }
    // The picture is complete: damage in the chunks after it (a missing end chunk) does not lose it.
    PngGuardedReadEnd(*m_pReader);
}
