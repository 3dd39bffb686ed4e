// A 32-bit pixel as it lies in memory: blue, green, red, alpha.
#pragma once

#include <cstdint>
#include <cstdlib>

class PLPixel24;

class PLPixel32 {
public:
    PLPixel32() = default;
    PLPixel32(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
        : m_b(b)
        , m_g(g)
        , m_r(r)
        , m_a(a)
    {
    }

    void Set(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255)
    {
        m_b = b;
        m_g = g;
        m_r = r;
        m_a = a;
    }
    void SetR(uint8_t r) { m_r = r; }
    void SetG(uint8_t g) { m_g = g; }
    void SetB(uint8_t b) { m_b = b; }
    void SetA(uint8_t a) { m_a = a; }
    uint8_t GetR() const { return m_r; }
    uint8_t GetG() const { return m_g; }
    uint8_t GetB() const { return m_b; }
    uint8_t GetA() const { return m_a; }

    // Sum of the absolute differences of red, green and blue: the distance of nearest-colour searches.
    int BoxDist(const PLPixel32& other) const
    {
        return std::abs(m_r - other.m_r) + std::abs(m_g - other.m_g) + std::abs(m_b - other.m_b);
    }

    friend bool operator==(const PLPixel32&, const PLPixel32&) = default;

    inline operator PLPixel24() const;

private:
    uint8_t m_b = 0;
    uint8_t m_g = 0;
    uint8_t m_r = 0;
    uint8_t m_a = 0;
};

static_assert(sizeof(PLPixel32) == 4);

#include "imaging/bitmap/PLPixel24.h"

// Dropping the alpha channel.
inline PLPixel32::operator PLPixel24() const
{
    return PLPixel24(m_r, m_g, m_b);
}
