// Raw little-endian bytes of record messages, without a field id: the bricks of the typed
// dispatch writers, for writers of types the record base does not know (doubles, money, lists).
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

void WriteDispatchRaw16(std::ostream& os, uint16_t value);
void WriteDispatchRaw32(std::ostream& os, uint32_t value);
void WriteDispatchRaw64(std::ostream& os, uint64_t value);
void WriteDispatchRawDouble(std::ostream& os, double value);
// A 4-byte length, then the bytes.
void WriteDispatchRawString(std::ostream& os, std::string_view text);
