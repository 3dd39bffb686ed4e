#include "imaging/codec/PLBigEndianReader.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

uint8_t PLBigEndianReader::Read8()
{
    return *m_source.ReadBytes(1);
}

uint16_t PLBigEndianReader::Read16()
{
    const uint8_t* p = m_source.ReadBytes(2);
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t PLBigEndianReader::Read32()
{
    const uint8_t* p = m_source.ReadBytes(4);
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

std::string PLBigEndianReader::ReadTag()
{
    const uint8_t* p = m_source.ReadBytes(4);
    return std::string(reinterpret_cast<const char*>(p), 4);
}

const uint8_t* PLBigEndianReader::ReadBytes(int64_t n)
{
    if (n < 0)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "Negative length in file.");
    if (n > BytesLeft())
        PLPicDecoder::RaiseError(PL_ERR_END_OF_FILE, "End of file reached while decoding.");
    return m_source.ReadBytes(static_cast<int>(n));
}

void PLBigEndianReader::Skip(int64_t n)
{
    ReadBytes(n);
}

void PLBigEndianReader::SkipTo(int64_t position)
{
    if (position < Position())
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "Section starts before the data read.");
    Skip(position - Position());
}
