// The IFF-85 decoder: reads "FORM" files of type ILBM (bit planes) or PBM (one byte per pixel), with
// byte-run compression, a mask plane or a transparent colour, hold-and-modify colour (six and eight
// planes) and deep pictures of 24 and 32 planes. All numbers in the file are big-endian.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/iff/IffForm.h"

class PLIFF85Decoder : public PLPicDecoder {
public:
    PLIFF85Decoder();
    ~PLIFF85Decoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Iff85; }

private:
    iff::Form m_Form;
    PLDataSource* m_pSource = nullptr; // the source of the last Open, owned by the caller
};
