// The decoder of any picture format the library knows. It owns one decoder of each format, chooses
// one by the source's name (metafiles) or by its first bytes, and lets it read the picture; a
// caller uses it like any single-format decoder. The source has one owner throughout: whoever
// opened it (this decoder's own Decode and OpenFile calls, or the caller of Open); the chosen
// decoder only borrows it until Close.
#pragma once

#include "imaging/codec/PLPicDecoder.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class PLMemSource;

class PLAnyPicDecoder : public PLPicDecoder {
public:
    // Detection looks at no more than this many bytes: the PICT test reads bytes 522 to 525, behind
    // the 512-byte header of the application that wrote the file.
    static constexpr int kDetectionBytes = 526;
    // The binary header of an EPS file, in front of its sections.
    static constexpr int kEpsHeaderBytes = 30;

    PLAnyPicDecoder();
    ~PLAnyPicDecoder() override;

    // Recognises the format (raising code 8, "Unknown file type.", for none, and code 12, "Library
    // not compiled for this file type.", for a format without a decoder here) and opens the
    // picture with that format's decoder. An EPS file's TIFF preview must lie inside the data.
    void Open(PLDataSource* pDataSrc) override;
    // Handed to the chosen decoder's own GetImage, so that a decoder that makes its bitmap its own
    // way (the JPEG decoder writes every byte and skips clearing it) does so here too.
    void GetImage(PLBmp& bmp, int bpp = 0) override;
    void DecodeImage(PLBmp* pBmp) override;
    // Closes the chosen decoder, then releases the source (when this decoder opened it).
    void Close() override;
    // The type the last Open recognised (PLFileTypes.h).
    int32_t GetFileType() const override { return m_Type; }

    // The type the source's name decides: Wmf for a name holding ".WMF" anywhere, whatever the
    // case, else Emf for ".EMF"; Unknown otherwise. The wide name is looked at for a wide source.
    static int32_t FileTypeFromName(const PLDataSource& source);
    // The type the first bytes show: header holds headerSize bytes of a source of sourceSize bytes;
    // a test that needs a byte beyond the header fails.
    static int32_t DetectFileType(const uint8_t* header, int headerSize, int sourceSize);

private:
    template <class Decoder, class... Args> Decoder* Own(Args&&... args)
    {
        return static_cast<Decoder*>(Own(std::make_unique<Decoder>(std::forward<Args>(args)...)));
    }
    PLPicDecoder* Own(std::unique_ptr<PLPicDecoder> decoder);
    void Use(int32_t type, PLPicDecoder* decoder);
    // The decoder the last Open chose; code 7 when none is open.
    PLPicDecoder& Current() const;
    // The EPS file's TIFF preview as a source of its own, after checking that it lies in the data.
    PLDataSource* OpenPreview(PLDataSource& source);

    int32_t m_Type = PLFileType::Unknown;
    PLPicDecoder* m_pCurrent = nullptr; // one of m_Decoders, chosen by the last Open
    std::vector<std::unique_ptr<PLPicDecoder>> m_Decoders;
    std::array<PLPicDecoder*, PLFileType::Last + 1> m_ByType {};
    std::unique_ptr<PLMemSource> m_pPreview; // the EPS preview, over the source's own bytes
};
