#include "imaging/iff/PLIFF85Decoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/iff/IffBody.h"
#include "imaging/io/PLTextException.h"

PLIFF85Decoder::PLIFF85Decoder() = default;

PLIFF85Decoder::~PLIFF85Decoder() = default;

void PLIFF85Decoder::Open(PLDataSource* pDataSrc)
{
    m_pSource = pDataSrc;
    Trace(2, "Decoding IFF-85 header.\n");
    PLBigEndianReader reader(*pDataSrc);
    m_Form = iff::ReadForm(reader);
    const iff::BitmapHeader& h = m_Form.header;
    const bool transparent = h.masking == uint8_t(iff::Masking::TransparentColour);
    const bool deep = h.planes > 8;
    const int bpp = deep || m_Form.HoldAndModify() || transparent ? 32 : 8;
    SetInfo(PLCoord(h.width, h.height), bpp, PLCoord(0, 0), (transparent && !deep) || h.planes == 32, false);
}

void PLIFF85Decoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_pSource)
        RaiseError(PL_ERR_INTERNAL, "IFF-85 decoder has no picture open.");
    Trace(2, "Decoding IFF-85 body.\n");
    if (pBmp->GetBitsPerPixel() == 8)
        pBmp->SetPalette(m_Form.palette.data());
    PLBigEndianReader reader(*m_pSource);
    iff::BodyRows rows(reader, m_Form);
    std::vector<uint32_t> values;
    PLBmpLock lock(*pBmp, false, true);
    for (int y = 0; y < m_Form.header.height; ++y) {
        iff::PixelValues(rows.Next(), m_Form, values);
        iff::StoreRow(values, m_Form, *pBmp, y);
    }
}

void PLIFF85Decoder::Close()
{
    m_pSource = nullptr;
    PLPicDecoder::Close();
}
