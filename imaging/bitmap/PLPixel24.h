// A 24-bit pixel as it lies in memory: blue, green, red.
#pragma once

#include <cstdint>

class PLPixel32;

class PLPixel24 {
public:
    PLPixel24() = default;
    PLPixel24(uint8_t r, uint8_t g, uint8_t b)
        : m_b(b)
        , m_g(g)
        , m_r(r)
    {
    }

    void Set(uint8_t r, uint8_t g, uint8_t b)
    {
        m_b = b;
        m_g = g;
        m_r = r;
    }
    void SetR(uint8_t r) { m_r = r; }
    void SetG(uint8_t g) { m_g = g; }
    void SetB(uint8_t b) { m_b = b; }
    uint8_t GetR() const { return m_r; }
    uint8_t GetG() const { return m_g; }
    uint8_t GetB() const { return m_b; }

    friend bool operator==(const PLPixel24&, const PLPixel24&) = default;

    // The same colour, opaque.
    inline operator PLPixel32() const;

private:
    uint8_t m_b = 0;
    uint8_t m_g = 0;
    uint8_t m_r = 0;
};

static_assert(sizeof(PLPixel24) == 3);

#include "imaging/bitmap/PLPixel32.h"

inline PLPixel24::operator PLPixel32() const
{
    return PLPixel32(m_r, m_g, m_b, 255);
}
