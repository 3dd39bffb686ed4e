#include "imaging/gif/PLGIFDecoder.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <gif_lib.h>

#include "imaging/bitmap/PLBmp.h"
#include "imaging/io/PLTextException.h"

namespace {

constexpr int kGraphicControl = GRAPHICS_EXT_FUNC_CODE;

int ReadFromState(GifFileType* gif, GifByteType* out, int n)
{
    auto* state = static_cast<PLGIFDecoder::ReadState*>(gif->UserData);
    const size_t left = state->size - state->position;
    size_t count = n > 0 ? static_cast<size_t>(n) : 0;
    if (count > left) {
        state->endOfData = true;
        count = left;
    }
    if (count > 0)
        std::memcpy(out, state->data + state->position, count);
    state->position += count;
    return static_cast<int>(count);
}

} // namespace

void PLGIFDecoder::GifCloser::operator()(GifFileType* gif) const
{
    int error = 0;
    DGifCloseFile(gif, &error);
}

PLGIFDecoder::PLGIFDecoder() = default;

PLGIFDecoder::~PLGIFDecoder()
{
    PLGIFDecoder::Close();
}

void PLGIFDecoder::Close()
{
    m_pGif.reset();
    m_State = ReadState {};
    PLPicDecoder::Close();
}

void PLGIFDecoder::RaiseGifError(int error) const
{
    // Only a read routine that ran out of data is the end of the file: giflib gives the same
    // "read failed" for data it cannot use (an LZW code size above 8, for one).
    if (m_State.endOfData)
        RaiseError(PL_ERR_END_OF_FILE, "End of file reached while decoding.");
    if (error == D_GIF_ERR_READ_FAILED || error == D_GIF_ERR_EOF_TOO_SOON)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Damaged or unsupported GIF data.");
    if (error == D_GIF_ERR_NOT_GIF_FILE)
        RaiseError(PL_ERR_WRONG_SIGNATURE, "Not a GIF file.");
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM)
        RaiseError(PL_ERR_NO_MEMORY, "Out of memory decoding GIF.");
    const char* text = GifErrorString(error);
    RaiseError(PL_ERR_FORMAT_UNKNOWN, text ? text : "GIF error.");
}

void PLGIFDecoder::Open(PLDataSource* pDataSrc)
{
    m_pGif.reset();
    m_State = ReadState {};
    m_State.data = pDataSrc->GetRemainingData();
    m_State.size = static_cast<size_t>(std::max(0, pDataSrc->GetBytesLeft()));
    int error = 0;
    m_pGif.reset(DGifOpen(&m_State, ReadFromState, &error));
    if (!m_pGif)
        RaiseGifError(error);
    CheckImageSize(m_pGif->SWidth, m_pGif->SHeight, 8, "GIF decoder: The logical screen is empty.");
    SetInfo(PLCoord(m_pGif->SWidth, m_pGif->SHeight), 8, PLCoord(0, 0), false, false);
}

void PLGIFDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_pGif)
        RaiseError(PL_ERR_INTERNAL, "No GIF file is open.");
    if (pBmp->GetWidth() != GetWidth() || pBmp->GetHeight() != GetHeight() || pBmp->GetBitsPerPixel() != 8)
        RaiseError(PL_ERR_INTERNAL, "The bitmap does not match the GIF picture.");
    PLBmpLock lock(*pBmp, false, true);
    const auto background = static_cast<uint8_t>(m_pGif->SBackGroundColor);
    for (int y = 0; y < GetHeight(); ++y)
        std::fill_n(pBmp->GetRow(y), GetWidth(), background);
    int transparent = -1;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(m_pGif.get(), &type) == GIF_ERROR)
            RaiseGifError(m_pGif->Error);
        if (type == EXTENSION_RECORD_TYPE) {
            ReadExtension(transparent);
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            ReadFirstImage(pBmp);
            break;
        } else {
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "GIF file without an image.");
        }
    }
    SetPalette(pBmp, transparent);
    CopyInfoFrom(*pBmp);
}

void PLGIFDecoder::ReadExtension(int& transparent)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(m_pGif.get(), &code, &block) == GIF_ERROR)
        RaiseGifError(m_pGif->Error);
    if (code == kGraphicControl) {
        // Flags, delay (2 bytes), transparent index: the block's first byte is its length.
        if (!block || block[0] < 4)
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "GIF graphic control extension too short.");
        if (block[1] & 0x01)
            transparent = block[4];
    }
    while (block) {
        if (DGifGetExtensionNext(m_pGif.get(), &block) == GIF_ERROR)
            RaiseGifError(m_pGif->Error);
    }
}

void PLGIFDecoder::ReadFirstImage(PLBmp* pBmp)
{
    GifFileType* gif = m_pGif.get();
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        RaiseGifError(gif->Error);
    const GifImageDesc& image = gif->Image;
    if (image.Width <= 0 || image.Height <= 0)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "GIF decoder: The image is empty.");
    if (image.Left < 0 || image.Top < 0 || int64_t { image.Left } + image.Width > GetWidth()
        || int64_t { image.Top } + image.Height > GetHeight())
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "Image 1 is not confined to screen dimension, aborted.");
    if (!image.ColorMap && !gif->SColorMap)
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "GIF image without a colour map.");
    const auto readLine = [&](int y) {
        if (DGifGetLine(gif, pBmp->GetRow(image.Top + y) + image.Left, image.Width) == GIF_ERROR)
            RaiseGifError(gif->Error);
    };
    if (image.Interlace) {
        constexpr int kStart[] = { 0, 4, 2, 1 };
        constexpr int kStep[] = { 8, 8, 4, 2 };
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < image.Height; y += kStep[pass])
                readLine(y);
    } else {
        for (int y = 0; y < image.Height; ++y)
            readLine(y);
    }
}

void PLGIFDecoder::SetPalette(PLBmp* pBmp, int transparent) const
{
    const ColorMapObject* map = m_pGif->Image.ColorMap ? m_pGif->Image.ColorMap : m_pGif->SColorMap;
    if (transparent >= 0)
        pBmp->SetHasAlpha(true);
    const int count = map ? std::clamp(map->ColorCount, 0, 256) : 0;
    for (int i = 0; i < 256; ++i) {
        const uint8_t alpha = i == transparent ? 0 : 255;
        if (i < count)
            pBmp->SetPaletteEntry(i, map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue, alpha);
        else
            pBmp->SetPaletteEntry(i, 0, 0, 0, alpha);
    }
}
