// A small PICT writer for the tests (and the fuzz seeds): the file header, the version opcode, any
// opcodes with their data, bit maps, pix maps and direct bits with rows packed by a PackBits
// encoder of its own. Numbers are written big-endian, as the format wants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pictwriter {

using Bytes = std::vector<uint8_t>;

struct Rect {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

struct Colour {
    uint16_t value = 0; // the index, unless the table is in order
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// PackBits over units of unitSize bytes (1, or 2 for 16-bit rows): runs of three or more equal units
// are repeated, the rest written as literals.
inline Bytes PackBits(const Bytes& row, size_t unitSize)
{
    Bytes out;
    const size_t units = row.size() / unitSize;
    const auto same = [&](size_t a, size_t b) {
        for (size_t k = 0; k < unitSize; ++k)
            if (row[a * unitSize + k] != row[b * unitSize + k])
                return false;
        return true;
    };
    size_t i = 0;
    while (i < units) {
        size_t run = 1;
        while (i + run < units && run < 128 && same(i, i + run))
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(257 - run));
            out.insert(out.end(), row.begin() + long(i * unitSize), row.begin() + long((i + 1) * unitSize));
            i += run;
            continue;
        }
        size_t literal = 0;
        while (i + literal < units && literal < 128) {
            if (i + literal + 2 < units && same(i + literal, i + literal + 1)
                && same(i + literal, i + literal + 2))
                break;
            ++literal;
        }
        out.push_back(static_cast<uint8_t>(literal - 1));
        out.insert(out.end(), row.begin() + long(i * unitSize), row.begin() + long((i + literal) * unitSize));
        i += literal;
    }
    return out;
}

class Writer {
public:
    // The 512-byte header, size, frame and version opcode (with the version-2 header opcode).
    Writer(int version, Rect frame)
        : m_version(version)
    {
        m_data.assign(512, 0);
        U16(0);
        RectOf(frame);
        if (version == 2) {
            U16(0x0011);
            U16(0x02FF);
            U16(0x0C00);
            for (int i = 0; i < 24; ++i)
                U8(0);
        } else {
            U8(0x11);
            U8(0x01);
        }
    }

    void U8(int v) { m_data.push_back(static_cast<uint8_t>(v)); }
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
    void Raw(const Bytes& bytes) { m_data.insert(m_data.end(), bytes.begin(), bytes.end()); }
    void RectOf(Rect r)
    {
        U16(r.top);
        U16(r.left);
        U16(r.bottom);
        U16(r.right);
    }
    void Opcode(int op)
    {
        if (m_version == 2) {
            if (m_data.size() % 2 != 0)
                U8(0);
            U16(op);
        } else {
            U8(op);
        }
    }
    void PixMapRecord(int pixelSize, int cmpCount, int packType = 0, int hRes = 72, int vRes = 72)
    {
        U16(0); // version
        U16(packType);
        U32(0); // pack size
        U32(uint32_t(hRes) << 16);
        U32(uint32_t(vRes) << 16);
        U16(pixelSize > 8 ? 16 : 0); // pixel type
        U16(pixelSize);
        U16(cmpCount);
        U16(pixelSize > 8 ? 8 : pixelSize);
        U32(0); // plane bytes
        U32(0); // colour table handle
        U32(0); // reserved
    }
    void ColourTable(const std::vector<Colour>& entries, bool inOrder)
    {
        U32(0); // seed
        U16(inOrder ? 0x8000 : 0);
        U16(static_cast<int>(entries.size()) - 1);
        for (const Colour& c : entries) {
            U16(c.value);
            U16(c.red * 257);
            U16(c.green * 257);
            U16(c.blue * 257);
        }
    }
    // Rows as the decoder reads them: plain below 8 row bytes, else packed after their length.
    void Rows(const std::vector<Bytes>& rows, int rowBytes, size_t unitSize = 1)
    {
        for (const Bytes& row : rows) {
            if (rowBytes < 8) {
                Raw(row);
                continue;
            }
            const Bytes packed = PackBits(row, unitSize);
            if (rowBytes < 251)
                U8(static_cast<int>(packed.size()));
            else
                U16(static_cast<int>(packed.size()));
            Raw(packed);
        }
    }
    // A PackBitsRect (0x98) pix map at 1 to 8 bits per pixel with its colour table and rows.
    void PixMapOpcode(Rect bounds, int pixelSize, int rowBytes, const std::vector<Colour>& table,
        bool inOrder, const std::vector<Bytes>& rows, int opcode = 0x98)
    {
        Opcode(opcode);
        U16(0x8000 | rowBytes);
        RectOf(bounds);
        PixMapRecord(pixelSize, 1);
        ColourTable(table, inOrder);
        RectOf(bounds);
        RectOf(bounds);
        U16(0); // mode
        if (opcode == 0x99 || opcode == 0x91) {
            U16(10);
            RectOf(bounds);
        }
        Rows(rows, rowBytes);
    }
    // Direct bits (0x9A) at 16 or 32 bits per pixel; rows are the unpacked bytes (planes for 32).
    void DirectBits(Rect bounds, int pixelSize, int cmpCount, const std::vector<Bytes>& rows)
    {
        Opcode(0x9A);
        U32(0xFF);
        const int width = bounds.right - bounds.left;
        const int rowBytes = width * (pixelSize / 8);
        U16(0x8000 | rowBytes);
        RectOf(bounds);
        PixMapRecord(pixelSize, cmpCount, 4);
        RectOf(bounds);
        RectOf(bounds);
        U16(0);
        Rows(rows, rowBytes, pixelSize == 16 ? 2 : 1);
    }
    void End() { Opcode(m_version == 2 ? 0x00FF : 0xFF); }

    const Bytes& Data() const { return m_data; }

private:
    int m_version;
    Bytes m_data;
};

} // namespace pictwriter
