#include "imaging/detect/PLAnyPicDecoder.h"

#include "imaging/codec/PLMetafileDecoderFactory.h"
#include "imaging/gif/PLGIFDecoder.h"
#include "imaging/iff/PLIFF85Decoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/png/PLPNGDecoder.h"
#include "imaging/psd/PLPSDDecoder.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLPCXDecoder.h"
#include "imaging/raster/PLPGMDecoder.h"
#include "imaging/raster/PLPPMDecoder.h"
#include "imaging/raster/PLSGIDecoder.h"
#include "imaging/raster/PLTGADecoder.h"
#include "imaging/tiff/PLTIFFDecoder.h"
#include "platform/win/LittleEndian.h"

#include <algorithm>

namespace {

// The trace line of each recognised file type, by its code.
constexpr const char* kRecognised[PLFileType::Last + 1] = { "", "Windows bitmap recognized.\n",
    "Mac PICT recognized.\n", "TGA file recognized.\n", "TIFF file recognized.\n", "JPEG file recognized.\n",
    "PNG file recognized.\n", "TIFF preview in EPS file recognized.\n", "WMF file recognized.\n",
    "EMF file recognized.\n", "PCX file recognized.\n", "PGM file recognized.\n", "GIF file recognized.\n",
    "PPM file recognized.\n", "PSD file recognized.\n", "SGI RGB file recognized.\n",
    "EA IFF-85 file recognized.\n" };

} // namespace

// One decoder of each format, and the file types each reads. A format without a decoder here is
// recognised all the same and refused with code 12. The metafile decoder comes from the factory a
// program registers when it links the metafile library (without it, metafiles get code 12 too).
PLAnyPicDecoder::PLAnyPicDecoder()
{
    Use(PLFileType::Bmp, Own<PLBmpDecoder>());
    Use(PLFileType::Tga, Own<PLTGADecoder>());
    PLTIFFDecoder* tiff = Own<PLTIFFDecoder>();
    Use(PLFileType::Tiff, tiff);
    Use(PLFileType::EpsTiff, tiff);
    PLJPEGDecoder* jpeg = Own<PLJPEGDecoder>();
    Use(PLFileType::Jpeg, jpeg);
    Use(PLFileType::Pict, Own<PLPictDecoder>(jpeg)); // for JPEG data inside PICT files
    Use(PLFileType::Png, Own<PLPNGDecoder>());
    PLPicDecoder* metafile = Own(CreateMetafileDecoder());
    Use(PLFileType::Wmf, metafile);
    Use(PLFileType::Emf, metafile);
    Use(PLFileType::Pcx, Own<PLPCXDecoder>());
    Use(PLFileType::Pgm, Own<PLPGMDecoder>());
    Use(PLFileType::Gif, Own<PLGIFDecoder>());
    Use(PLFileType::Ppm, Own<PLPPMDecoder>());
    Use(PLFileType::Psd, Own<PLPSDDecoder>());
    Use(PLFileType::Sgi, Own<PLSGIDecoder>());
    Use(PLFileType::Iff85, Own<PLIFF85Decoder>());
}

PLAnyPicDecoder::~PLAnyPicDecoder()
{
    PLAnyPicDecoder::Close();
}

PLPicDecoder* PLAnyPicDecoder::Own(std::unique_ptr<PLPicDecoder> decoder)
{
    m_Decoders.push_back(std::move(decoder));
    return m_Decoders.back().get();
}

void PLAnyPicDecoder::Use(int32_t type, PLPicDecoder* decoder)
{
    m_ByType.at(static_cast<size_t>(type)) = decoder;
}

void PLAnyPicDecoder::Open(PLDataSource* pDataSrc)
{
    if (m_pCurrent) {
        m_pCurrent->Close();
        m_pCurrent = nullptr;
    }
    m_pPreview.reset();
    m_Type = FileTypeFromName(*pDataSrc);
    if (m_Type == PLFileType::Unknown) {
        const int available = std::min(pDataSrc->GetBytesLeft(), kDetectionBytes);
        m_Type = DetectFileType(pDataSrc->PeekBytes(available), available, pDataSrc->GetBytesLeft());
    }
    if (m_Type == PLFileType::Unknown)
        RaiseError(PL_ERR_UNKNOWN_FILE_TYPE, "Unknown file type.");
    if (m_Type > 0 && m_Type <= PLFileType::Last)
        Trace(2, kRecognised[static_cast<size_t>(m_Type)]);
    // A preview outside the file is the file's fault, whether this library reads TIFF or not.
    PLDataSource* data = m_Type == PLFileType::EpsTiff ? OpenPreview(*pDataSrc) : pDataSrc;
    PLPicDecoder* decoder = m_ByType.at(static_cast<size_t>(m_Type));
    try {
        if (!decoder)
            RaiseError(PL_ERR_FORMAT_NOT_COMPILED, "Library not compiled for this file type.");
        decoder->Open(data);
    } catch (...) {
        if (decoder)
            decoder->Close();
        m_pPreview.reset();
        throw;
    }
    CopyInfoFrom(*decoder);
    decoder->LendDataSource(data);
    m_pCurrent = decoder;
}

PLDataSource* PLAnyPicDecoder::OpenPreview(PLDataSource& source)
{
    const uint8_t* header = source.PeekBytes(28);
    const auto offset = static_cast<int64_t>(win::LoadLittleEndian(header + 20, 4));
    const auto length = static_cast<int64_t>(win::LoadLittleEndian(header + 24, 4));
    if (offset < kEpsHeaderBytes || offset + length > source.GetBytesLeft())
        RaiseError(PL_ERR_FORMAT_UNKNOWN, "The TIFF preview of the EPS file lies outside the file.");
    source.ReadBytes(static_cast<int>(offset));
    m_pPreview = std::make_unique<PLMemSource>();
    m_pPreview->OpenMemory(source.PeekBytes(static_cast<int>(length)), static_cast<int>(length));
    return m_pPreview.get();
}

PLPicDecoder& PLAnyPicDecoder::Current() const
{
    if (!m_pCurrent)
        RaiseError(PL_ERR_INTERNAL, "No picture is open.");
    return *m_pCurrent;
}

void PLAnyPicDecoder::GetImage(PLBmp& bmp, int bpp)
{
    // The chosen decoder may read part of the file through a source of its own (an EPS file's
    // preview): whether the file itself changed meanwhile is checked here, on every path.
    try {
        Current().GetImage(bmp, bpp);
    } catch (...) {
        CheckSourceIntact();
        throw;
    }
    CheckSourceIntact();
    // Some decoders learn more of the picture while decoding it.
    CopyInfoFrom(Current());
}

void PLAnyPicDecoder::DecodeImage(PLBmp* pBmp)
{
    Current().DecodeImage(pBmp);
    CopyInfoFrom(Current());
}

void PLAnyPicDecoder::Close()
{
    if (m_pCurrent) {
        m_pCurrent->Close();
        m_pCurrent = nullptr;
    }
    if (m_pPreview) {
        m_pPreview->Close();
        m_pPreview.reset();
    }
    PLPicDecoder::Close();
}
