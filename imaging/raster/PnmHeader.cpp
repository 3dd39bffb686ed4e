#include "imaging/raster/PnmHeader.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLDataSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/raster/RasterSafety.h"

namespace raster {

namespace {

constexpr int64_t kNumberCap = int64_t { 1 } << 40;

bool IsPnmSpace(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool IsDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int64_t ReadPnmNumber(PLDataSource& source)
{
    for (;;) {
        const uint8_t c = *source.PeekBytes(1);
        if (c == '#') {
            uint8_t d = 0;
            do
                d = ReadU8(source);
            while (d != '\n' && d != '\r');
        } else if (IsPnmSpace(c)) {
            source.ReadBytes(1);
        } else {
            break;
        }
    }
    int64_t value = 0;
    while (source.GetBytesLeft() > 0 && IsDigit(*source.PeekBytes(1)))
        value = std::min(kNumberCap, value * 10 + (ReadU8(source) - '0'));
    return value;
}

PnmHeader ReadPnmHeader(
    PLDataSource& source, char textDigit, char binaryDigit, const char* wrongIdentifierMessage)
{
    const uint8_t* id = ReadBlock(source, 2);
    if (id[0] != 'P' || (id[1] != textDigit && id[1] != binaryDigit))
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, wrongIdentifierMessage);
    PnmHeader header;
    header.type = id[1] == binaryDigit ? 1 : 0;
    header.width = ReadPnmNumber(source);
    header.height = ReadPnmNumber(source);
    const int64_t maxValue = ReadPnmNumber(source);
    header.maxValue = maxValue < 1 || maxValue > 65535 ? 255 : static_cast<uint32_t>(maxValue);
    // Binary pixels follow the single character that ended the maximum value; text numbers find
    // their own way past the separators.
    if (header.type == 1)
        ReadU8(source);
    return header;
}

} // namespace raster
