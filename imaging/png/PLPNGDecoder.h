// The PNG decoder over libpng: grey pictures (of any depth; 16-bit samples keep their high byte)
// come out at 8 bpp with a grey ramp, palette pictures at 8 bpp with their palette, RGB at 32 bpp
// (alpha 255), grey with alpha and RGBA at 32 bpp with alpha. Transparency chunks (tRNS) are not
// applied. The resolution comes from pHYs when it is given per metre.
#pragma once

#include <memory>

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/png/PngReadCalls.h"

class PLPNGDecoder : public PLPicDecoder {
public:
    PLPNGDecoder();
    ~PLPNGDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    // Releases libpng's structures, then the source.
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Png; }

private:
    // Raises the end-of-data code when libpng ran out of bytes, else code 2 with libpng's message.
    [[noreturn]] void RaiseLibpngError() const;
    void SetPalette(PLBmp* pBmp) const;

    std::unique_ptr<PngReadState> m_pState;
    std::unique_ptr<PngReader> m_pReader;
    PngHeader m_Header {};
};
