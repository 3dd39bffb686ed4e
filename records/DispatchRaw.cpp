#include "records/DispatchRaw.h"

#include "platform/win/LittleEndian.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace {
void WriteLittleEndian(std::ostream& os, uint64_t value, std::size_t bytes)
{
    unsigned char raw[8];
    win::StoreLittleEndian(value, bytes, raw);
    os.write(reinterpret_cast<const char*>(raw), static_cast<std::streamsize>(bytes));
}
} // namespace

void WriteDispatchRaw16(std::ostream& os, uint16_t value)
{
    WriteLittleEndian(os, value, 2);
}
void WriteDispatchRaw32(std::ostream& os, uint32_t value)
{
    WriteLittleEndian(os, value, 4);
}
void WriteDispatchRaw64(std::ostream& os, uint64_t value)
{
    WriteLittleEndian(os, value, 8);
}
void WriteDispatchRawDouble(std::ostream& os, double value)
{
    WriteDispatchRaw64(os, std::bit_cast<uint64_t>(value));
}

void WriteDispatchRawString(std::ostream& os, std::string_view text)
{
    // Lengths are 32 bits on the wire; nothing longer is written than that can announce.
    const std::size_t length = std::min<std::size_t>(text.size(), UINT32_MAX);
    WriteDispatchRaw32(os, static_cast<uint32_t>(length));
    os.write(text.data(), static_cast<std::streamsize>(length));
}
