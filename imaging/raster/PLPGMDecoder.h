// The portable grey map decoder: text (P2) and binary (P5) files with a maximum value from 1 to
// 65535, into 8-bit greyscale bitmaps with the grey palette.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/raster/PnmHeader.h"

class PLPGMDecoder : public PLPicDecoder {
public:
    PLPGMDecoder() = default;
    ~PLPGMDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Pgm; }

private:
    raster::PnmHeader m_Header;
    bool m_bHeaderValid = false;
};
