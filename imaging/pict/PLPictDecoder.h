// The PICT decoder: reads Macintosh PICT files of version 1 and 2 as far as their first bitmap and
// decodes that bitmap; the drawing before it is skipped. A picture that holds QuickTime JPEG data
// is handed to the JPEG decoder given to the constructor, which reads the PICT's own source
// without owning it. All numbers in the file are big-endian.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/pict/PictReader.h"

class PLPictDecoder : public PLPicDecoder {
public:
    // The JPEG decoder is not owned and may be null (JPEG pictures are then refused with code 6).
    explicit PLPictDecoder(PLPicDecoder* jpegDecoder = nullptr);
    ~PLPictDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Pict; }

private:
    enum class BitmapKind { None = 0, DirectBits = 1, Jpeg = 2, PixMap = 3, BitMap = 4 };

    void ReadVersion(pict::Reader& reader);
    // Reads opcodes up to the first bitmap, which it describes.
    void ReadOpcodes(pict::Reader& reader);
    // True when the opcode was a bitmap (or JPEG data) and the loop ends.
    bool ReadOpcode(pict::Reader& reader, int opcode);
    void ReadBitmapOpcode(pict::Reader& reader, int opcode);
    void ReadDirectBits(pict::Reader& reader);
    void ReadJpeg(pict::Reader& reader);
    void SkipPixelPattern(pict::Reader& reader);
    void DescribePixMap();
    void AbortJpeg();

    PLPicDecoder* m_pJpegDecoder;
    BitmapKind m_Kind = BitmapKind::None;
    pict::PixMap m_PixMap;
    uint16_t m_RowBytes = 0;
    pict::Rect m_Bounds;
    bool m_bRegion = false;
    int m_Version = 0;
    bool m_bJpegOpen = false;
    PLDataSource* m_pSource = nullptr; // the source of the last Open, owned by the caller
};
