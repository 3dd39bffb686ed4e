// The GIF decoder over giflib: the first image of the file, placed on the logical screen filled with
// the background colour index, at 8 bpp with the image's colour map (or the screen's). A transparent
// index named by a graphic control extension gets alpha 0 and turns the picture's alpha on. Every
// giflib call is checked: damaged or cut files end at once with the library's codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "imaging/codec/PLPicDecoder.h"

struct GifFileType;

class PLGIFDecoder : public PLPicDecoder {
public:
    PLGIFDecoder();
    ~PLGIFDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    // Closes giflib's handle, then the source.
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Gif; }

    // The bytes giflib reads from: the source's data from the position at Open.
    struct ReadState {
        const uint8_t* data = nullptr;
        size_t size = 0;
        size_t position = 0;
        bool endOfData = false; // giflib asked for more bytes than there are
    };

private:
    struct GifCloser {
        void operator()(GifFileType* gif) const;
    };

    [[noreturn]] void RaiseGifError(int error) const;
    // Reads one extension; a graphic control extension may name the transparent index.
    void ReadExtension(int& transparent);
    void ReadFirstImage(PLBmp* pBmp);
    void SetPalette(PLBmp* pBmp, int transparent) const;

    ReadState m_State;
    std::unique_ptr<GifFileType, GifCloser> m_pGif;
};
