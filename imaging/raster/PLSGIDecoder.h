// The SGI image decoder: uncompressed files of one byte per sample, one channel into an 8-bit
// bitmap, three or four channels (red, green, blue, alpha) into a 32-bit bitmap. Run-length
// coded files, two-channel files and two-byte samples are refused as unsupported.
#pragma once

#include "imaging/codec/PLPicDecoder.h"

#include <cstdint>

class PLSGIDecoder : public PLPicDecoder {
public:
    PLSGIDecoder() = default;
    ~PLSGIDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Sgi; }

private:
    struct Header {
        uint16_t magic = 0;
        uint8_t storage = 0;
        uint8_t bytesPerChannel = 0;
        uint16_t dimension = 0;
        uint16_t xSize = 0;
        uint16_t ySize = 0;
        uint16_t zSize = 0;
        uint32_t colourMapId = 0;
    };

    void CheckHeader() const;

    Header m_Header;
    bool m_bHeaderValid = false;
};
