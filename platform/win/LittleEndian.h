// Little-endian byte order of the archives and record messages: the low bytes of a value, least
// significant first, and back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win {

// Writes the low `bytes` bytes (at most 8) of value to out.
inline void StoreLittleEndian(uint64_t value, std::size_t bytes, unsigned char* out)
{
    for (std::size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>((value >> (8 * i)) & 0xFF);
}

// The value of `bytes` bytes (at most 8) read from in.
inline uint64_t LoadLittleEndian(const unsigned char* in, std::size_t bytes)
{
    uint64_t value = 0;
    for (std::size_t i = bytes; i-- > 0;)
        value = (value << 8) | in[i];
    return value;
}

} // namespace win
