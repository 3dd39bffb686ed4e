// Big-endian reading from a data source, for the formats whose numbers are stored that way. Every
// read and skip is checked against the data left (code 11 at the end of the data) and lengths taken
// from a file are 64-bit values, so that no sum or product of them wraps before it is compared.
#pragma once

#include "imaging/io/PLDataSource.h"

#include <cstdint>
#include <string>

class PLBigEndianReader {
public:
    explicit PLBigEndianReader(PLDataSource& source)
        : m_source(source)
    {
    }

    uint8_t Read8();
    uint16_t Read16();
    uint32_t Read32();
    int16_t ReadSigned16() { return static_cast<int16_t>(Read16()); }
    int32_t ReadSigned32() { return static_cast<int32_t>(Read32()); }
    // The next four bytes as text, e.g. a signature or a chunk identifier.
    std::string ReadTag();
    // The next n bytes, moving past them.
    const uint8_t* ReadBytes(int64_t n);
    // Skips n bytes; a negative n raises code 2, fewer bytes left than n code 11 (nothing is skipped).
    void Skip(int64_t n);
    // Moves to an absolute position inside the data (the same checks as Skip).
    void SkipTo(int64_t position);

    int64_t Position() const { return m_source.GetPosition(); }
    int64_t BytesLeft() const { return m_source.GetBytesLeft(); }
    int64_t Size() const { return m_source.GetFileSize(); }
    PLDataSource& Source() { return m_source; }

private:
    PLDataSource& m_source;
};
