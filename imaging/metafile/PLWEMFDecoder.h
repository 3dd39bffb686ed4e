// The metafile decoder: Windows metafiles (with or without the placeable header) and enhanced
// metafiles, recognised by their content, played into a picture of the size they describe. Playing
// paints with Qt and needs a QGuiApplication; without one the picture is refused with code 6, as is
// data that is neither kind of metafile.
#pragma once

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/metafile/MetafileData.h"

#include <vector>

class PLWEMFDecoder : public PLPicDecoder {
public:
    PLWEMFDecoder();
    ~PLWEMFDecoder() override;

    void Open(PLDataSource* pDataSrc) override;
    // Fills any bitmap of the described depth: at 32 bpp every pixel is opaque (drawn straight into
    // the bitmap's pixels when its rows lie evenly spaced); at 8 bpp each pixel takes the nearest
    // entry of the metafile's palette.
    void DecodeImage(PLBmp* pBmp) override;
    void Close() override;
    // Enhanced metafile when the last one opened is one, else Windows metafile.
    int32_t GetFileType() const override
    {
        return m_Metafile.kind == metafile::Kind::Emf ? PLFileType::Emf : PLFileType::Wmf;
    }

    // The screen resolution a placeable metafile's inches are drawn at when there is no screen:
    // otherwise the primary screen's logical resolution.
    static constexpr int kScreenDpi = 96;
    // The longest side a metafile is drawn at: a larger picture is drawn at the largest size of
    // its proportions within it, the size Open describes.
    static constexpr int kMaxSide = 8192;

private:
    PLCoord PictureSize() const;

    std::vector<uint8_t> m_Data; // the metafile's bytes, which the records point into
    metafile::Metafile m_Metafile;
    bool m_bOpen = false;
};

// Registers the metafile decoder with the image library's factory; a program that links the
// metafile library calls it once at start-up.
void RegisterMetafileDecoder();
