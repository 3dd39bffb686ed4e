// The TIFF decoder over libtiff, reading the source's memory through TiffMemoryClient. Bilevel
// pictures come out at 1 bpp, other strip pictures of one or two samples of up to 8 bits at 8 bpp
// with a grey ramp or their colour map, everything else (RGB, RGBA, CMYK, 16-bit samples, tiles,
// YCbCr ...) at 32 bpp through libtiff's RGBA reader. Only the first directory is read.
// libtiff's errors are kept by the handle's own handlers and raised after the call that gave them,
// never from inside libtiff.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/codec/PLPicDecoder.h"

class TiffMemoryClient;

class PLTIFFDecoder : public PLPicDecoder {
public:
    // The largest single allocation libtiff may make for one file: a whole picture within the
    // library's pixel cap as one 8-bit RGBA strip.
    static constexpr uint64_t kMaxLibtiffAllocation = uint64_t { 1 } << 30;
    // The largest stored row: 16-bit RGBA rows of a million pixels, far beyond any real picture.
    static constexpr uint64_t kMaxRowBytes = uint64_t { 8 } << 20;

    PLTIFFDecoder();
    ~PLTIFFDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    void DecodeImage(PLBmp* pBmp) override;
    // Closes the TIFF handle, then the source.
    void Close() override;
    int32_t GetFileType() const override { return PLFileType::Tiff; }

    // TIFFGetField on the open handle; 0 when no file is open or the tag is absent.
    int GetField(uint32_t tag, ...) const;

private:
    void DescribeResolution();
    void DoLoColor(PLBmp* pBmp);
    // 8-bit RGB strips stored top row first: copied straight from the strips, which gives what
    // libtiff's RGBA reader gives, without its extra pass.
    bool IsPlainRgb() const;
    void DoPlainRgb(PLBmp* pBmp);
    void DoRgba(PLBmp* pBmp);
    // Reads the strips of the first plane and hands each row to useRow (row, bytes, byte count). A
    // strip that libtiff reports an error for raises code 2 with its message; one that fails without
    // a report raises code when it starts above row tolerateFrom, and further down reading stops
    // and the rows read so far stay.
    void ReadStripRows(
        int code, int tolerateFrom, const std::function<void(int, const uint8_t*, size_t)>& useRow);
    void SetLoColorPalette(PLBmp* pBmp);
    // Raises code 2 with libtiff's last message on this handle when libtiff reported an error since
    // errorsBefore; otherwise code with what when the call failed.
    void Check(bool ok, int errorsBefore, int code, const char* what) const;

    std::unique_ptr<TiffMemoryClient> m_pClient;
    uint16_t m_BitsPerSample = 0;
    uint16_t m_SamplesPerPixel = 0;
    uint16_t m_Photometric = 0;
    uint16_t m_PlanarConfig = 0;
    bool m_bTiled = false;
};
