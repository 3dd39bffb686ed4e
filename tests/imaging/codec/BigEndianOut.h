// Big-endian output for the test writers of formats that store their numbers that way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testwriter {

class BigEndianOut {
public:
    void U8(int v) { data.push_back(static_cast<uint8_t>(v)); }
    void U16(int v)
    {
        U8(v >> 8);
        U8(v);
    }
    void U32(uint32_t v)
    {
        U16(static_cast<int>(v >> 16));
        U16(static_cast<int>(v & 0xFFFF));
    }
    void Text(const std::string& s) { data.insert(data.end(), s.begin(), s.end()); }
    void Raw(const std::vector<uint8_t>& b) { data.insert(data.end(), b.begin(), b.end()); }

    std::vector<uint8_t> data;
};

} // namespace testwriter
