// A small Windows metafile writer for the tests (and the fuzz seeds): the placeable header when
// asked, the metafile header, records of 16-bit words, and the last record.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace wmfwriter {

using Bytes = std::vector<uint8_t>;

class Writer {
public:
    // The records follow the header; objects is the size of the object table.
    explicit Writer(int objects = 8)
        : m_objects(objects)
    {
    }

    // A record of the function with the given 16-bit parameters.
    void Record(int function, std::initializer_list<int> words)
    {
        std::vector<int> w(words);
        RecordOf(function, w, {});
    }
    // A record with words and then raw bytes (padded to an even length).
    void RecordOf(int function, const std::vector<int>& words, const Bytes& bytes)
    {
        const size_t size = 3 + words.size() + (bytes.size() + 1) / 2;
        m_largest = std::max(m_largest, size);
        Put32(m_records, uint32_t(size));
        Put16(m_records, function);
        for (const int w : words)
            Put16(m_records, w);
        m_records.insert(m_records.end(), bytes.begin(), bytes.end());
        if (bytes.size() % 2)
            m_records.push_back(0);
    }
    void Colour(int function, uint8_t r, uint8_t g, uint8_t b) { Record(function, { r | (g << 8), b }); }
    void Pen(int style, int width, uint8_t r, uint8_t g, uint8_t b)
    {
        Record(0x02FA, { style, width, 0, r | (g << 8), b });
    }
    void Brush(int style, uint8_t r, uint8_t g, uint8_t b) { Record(0x02FC, { style, r | (g << 8), b, 0 }); }
    void Text(int x, int y, const std::string& text)
    {
        Bytes bytes(text.begin(), text.end());
        if (bytes.size() % 2)
            bytes.push_back(0);
        const Bytes position { uint8_t(y), uint8_t(y >> 8), uint8_t(x), uint8_t(x >> 8) };
        bytes.insert(bytes.end(), position.begin(), position.end());
        RecordOf(0x0521, { int(text.size()) }, bytes);
    }

    // The whole file; with a placeable header when unitsPerInch is not negative.
    Bytes File(int left = 0, int top = 0, int right = 0, int bottom = 0, int unitsPerInch = -1) const
    {
        Bytes out;
        if (unitsPerInch >= 0) {
            Put32(out, 0x9AC6CDD7);
            Put16(out, 0);
            for (const int v : { left, top, right, bottom, unitsPerInch })
                Put16(out, v);
            Put32(out, 0);
            uint16_t checksum = 0;
            for (size_t i = 0; i + 1 < out.size(); i += 2)
                checksum ^= uint16_t(out[i] | (out[i + 1] << 8));
            Put16(out, checksum);
        }
        const size_t words = 9 + m_records.size() / 2 + 3;
        Put16(out, 1);
        Put16(out, 9);
        Put16(out, 0x0300);
        Put32(out, uint32_t(words));
        Put16(out, m_objects);
        Put32(out, uint32_t(m_largest)); // libwmf reads this many words for a record
        Put16(out, 0);
        out.insert(out.end(), m_records.begin(), m_records.end());
        Put32(out, 3);
        Put16(out, 0);
        return out;
    }

    static void Put16(Bytes& b, int v)
    {
        b.push_back(uint8_t(v));
        b.push_back(uint8_t(v >> 8));
    }
    static void Put32(Bytes& b, uint32_t v)
    {
        Put16(b, int(v & 0xFFFF));
        Put16(b, int(v >> 16));
    }

private:
    int m_objects;
    Bytes m_records;
    size_t m_largest = 3; // words of the largest record
};

// Function numbers the tests use.
inline constexpr int kSetWindowOrg = 0x020B;
inline constexpr int kSetWindowExt = 0x020C;
inline constexpr int kSelectObject = 0x012D;
inline constexpr int kDeleteObject = 0x01F0;
inline constexpr int kRectangle = 0x041B;
inline constexpr int kEllipse = 0x0418;
inline constexpr int kPolygon = 0x0324;
inline constexpr int kSetTextColor = 0x0209;
inline constexpr int kSaveDc = 0x001E;
inline constexpr int kRestoreDc = 0x0127;

} // namespace wmfwriter
