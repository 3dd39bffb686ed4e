// The PC Paintbrush decoder: 1 bit in 1 to 4 planes, 2, 4 and 8 bits in one plane (indices into
// the header's 16-colour map, or the 256-colour map behind the pixels for 8 bits) and 8 bits in
// three planes (red, green, blue), all into 32-bit bitmaps.
#pragma once

#include "imaging/codec/PLPicDecoder.h"

#include <cstdint>

class PLPCXDecoder : public PLPicDecoder {
public:
    PLPCXDecoder() = default;
    ~PLPCXDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Pcx; }

private:
    struct Header {
        uint8_t manufacturer = 0;
        uint8_t version = 0;
        uint8_t encoding = 0;
        uint8_t bitsPerPixel = 0;
        uint16_t xMin = 0;
        uint16_t yMin = 0;
        uint16_t xMax = 0;
        uint16_t yMax = 0;
        uint16_t hRes = 0;
        uint16_t vRes = 0;
        uint8_t colourMap[48] = {};
        uint8_t planes = 0;
        uint16_t bytesPerLine = 0;
        uint16_t paletteInfo = 0;
    };

    void CheckHeader() const;

    Header m_Header;
    bool m_bHeaderValid = false;
};
