// What the PGM and PPM decoders share: the header ("P" and a digit, then width, height and
// maximum value as decimal numbers between whitespace and "#" comments), the numbers of text
// rasters and the scaling of samples to 8 bits.
#pragma once

#include <algorithm>
#include <cstdint>

class PLDataSource;

namespace raster {

struct PnmHeader {
    int type = 0; // 0 text, 1 binary
    int64_t width = 0;
    int64_t height = 0;
    uint32_t maxValue = 255; // 1 to 65535
};

// Reads the identifier ("P" and textDigit or binaryDigit, else code 2 with the message given),
// the three numbers and, for a binary raster, the one character that ends the maximum value. A maximum of 0
// or above 65535 is taken as 255.
PnmHeader ReadPnmHeader(
    PLDataSource& source, char textDigit, char binaryDigit, const char* wrongIdentifierMessage);

// The next decimal number: whitespace (space, tab, line feed, carriage return, as the format has
// it) and comments from "#" to the end of the line are skipped first; the end of the data
// there raises code 11. The result is 0 when no digit follows (the character is left unread) and
// stops growing at 2^40.
int64_t ReadPnmNumber(PLDataSource& source);

// Binary samples take two bytes, most significant first, when the maximum is above 255.
inline int PnmSampleBytes(uint32_t maxValue)
{
    return maxValue > 255 ? 2 : 1;
}

// A sample as 8 bits: v x 255 / maximum (integer division), v first limited to the maximum.
inline uint8_t ScalePnmSample(uint32_t v, uint32_t maxValue)
{
    return static_cast<uint8_t>(uint64_t { std::min(v, maxValue) } * 255 / maxValue);
}

// The k-th binary sample of a row.
inline uint32_t PnmSampleAt(const uint8_t* row, int64_t k, int sampleBytes)
{
    return sampleBytes == 1 ? row[k] : static_cast<uint32_t>(row[2 * k] << 8 | row[2 * k + 1]);
}

} // namespace raster
