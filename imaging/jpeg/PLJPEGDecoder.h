// The JPEG decoder: reads a JPEG picture from any data source through libjpeg, with its EXIF
// block. Colour pictures come out at 32 bits per pixel (blue, green, red, 255), greyscale ones at
// 8 bits with the grey palette. libjpeg's fatal errors are thrown as PLTextException with the
// unsupported-feature code; its warnings (corrupt or truncated data) are counted and the picture
// is decoded with what the file holds.
#pragma once

#include <memory>
#include <string>

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/exif/ExifData.h"

struct JpegDecompressor;

class PLJPEGDecoder : public PLPicDecoder {
public:
    // Progressive pictures with more scans than this are refused, so that a crafted file cannot
    // keep the decoder busy for minutes.
    static constexpr int kDefaultScanLimit = 500;

    PLJPEGDecoder();
    ~PLJPEGDecoder() override;
    PLJPEGDecoder(const PLJPEGDecoder&) = delete;
    PLJPEGDecoder& operator=(const PLJPEGDecoder&) = delete;

    // Fast (the default): no fancy upsampling of subsampled colour.
    void SetFast(bool fast) { m_bFast = fast; }
    // 0 for no limit.
    void SetScanLimit(int scans);
    // Decodes at 1/denominator of the picture's size (1, 2, 4 or 8; anything else means 1), scaled
    // inside libjpeg: each side rounded up, the resolution scaled with it. Set before Open.
    void SetScale(int denominator);
    int GetScale() const { return m_Scale; }

    // Reads the header from the source's read position on: the description, the resolution and
    // the EXIF block. The size is checked against the library's limits here.
    void Open(PLDataSource* source) override;
    // At the picture's own depth the bitmap is created without first being made opaque black:
    // DecodeImage writes every byte of it. Other depths go through the usual conversion.
    void GetImage(PLBmp& bmp, int bpp = 0) override;
    // Writes every row of bmp, which must have the picture's size and depth: the decoded rows, and
    // black (alpha 255) for rows that a truncated file lacks or that a failure left undecoded.
    void DecodeImage(PLBmp* bmp) override;
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Jpeg; }

    // Copies the EXIF data of the open picture into out; out is unchanged when there is none.
    void GetExifData(ExifData& out) const;

    // Warnings libjpeg gave since the last Open (corrupt data, premature end of the file).
    int GetWarningCount() const;
    std::string GetLastWarning() const;

private:
    // Passes the fraction to the source; false when its listener threw.
    static bool OnLibjpegProgress(void* client, double fraction);
    // Aborts the decompressor and throws libjpeg's message.
    [[noreturn]] void RaiseLibjpegError();
    void SetDescriptionFromHeader();

    // Allocated once: libjpeg keeps pointers into it.
    std::unique_ptr<JpegDecompressor> m_pJpeg;
    bool m_bFast = true;
    int m_Scale = 1;
    std::unique_ptr<ExifData> m_pExifData;
};
