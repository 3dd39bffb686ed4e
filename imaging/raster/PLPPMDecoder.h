// The portable pixmap decoder: text (P3) and binary (P6) files with a maximum value from 1 to
// 65535, into 32-bit bitmaps.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/raster/PnmHeader.h"

class PLPPMDecoder : public PLPicDecoder {
public:
    PLPPMDecoder() = default;
    ~PLPPMDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Ppm; }

private:
    raster::PnmHeader m_Header;
    bool m_bHeaderValid = false;
};
