// Hand-made enhanced metafiles for the tests and the fuzz seeds (records libEMF does not write),
// and a small packed picture for the stretching records of both kinds of metafile.
#pragma once

#include "metafile/WmfWriter.h"

#include <bit>
#include <cstdint>
#include <initializer_list>

namespace emfbuilder {

using wmfwriter::Bytes;
using wmfwriter::Writer;

// A packed 2 x 2 picture at 24 bits, bottom row first: blue, white / red, green.
inline Bytes TwoByTwoDib()
{
    Bytes dib;
    for (const uint32_t v : { 40u, 2u, 2u, 1u | (24u << 16), 0u, 16u, 0u, 0u, 0u, 0u })
        Writer::Put32(dib, v);
    for (const uint8_t b : { 255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0 })
        dib.push_back(b);
    return dib;
}

// A hand-made enhanced metafile on a device of 1 pixel a millimetre: the header with a frame of
// size x size mm, the records, and the last record with the palette entries (0x00BBGGRR each).
class EmfBuilder {
public:
    explicit EmfBuilder(uint32_t size)
        : m_size(size)
    {
    }
    void Record(uint32_t type, std::initializer_list<uint32_t> values, const Bytes& tail = {})
    {
        Writer::Put32(m_records, type);
        Writer::Put32(m_records, uint32_t(8 + 4 * values.size() + tail.size()));
        for (const uint32_t v : values)
            Writer::Put32(m_records, v);
        m_records.insert(m_records.end(), tail.begin(), tail.end());
    }
    Bytes File(std::initializer_list<uint32_t> palette = {}) const
    {
        Bytes out;
        const uint32_t frame = m_size * 100;
        for (const uint32_t v : { 1u, 88u, 0u, 0u, m_size - 1, m_size - 1, 0u, 0u, frame, frame, 0x464D4520u,
                 0x10000u, 0u, 0u, 8u, 0u, 0u, uint32_t(palette.size()), 100u, 100u, 100u, 100u })
            Writer::Put32(out, v);
        out.insert(out.end(), m_records.begin(), m_records.end());
        const uint32_t entries = uint32_t(palette.size());
        for (const uint32_t v : { 14u, 20 + 4 * entries, entries, 16u })
            Writer::Put32(out, v);
        for (const uint32_t v : palette)
            Writer::Put32(out, v);
        Writer::Put32(out, 20 + 4 * entries);
        return out;
    }

private:
    uint32_t m_size;
    Bytes m_records;
};

inline uint32_t FloatBits(float f)
{
    return std::bit_cast<uint32_t>(f);
}

} // namespace emfbuilder
