// A small IFF-85 writer for the tests (and the fuzz seeds): a FORM of type ILBM or PBM with its
// bitmap header, colour map, viewport mode and body, built from one value per pixel (planes gathered
// by the writer, rows byte-run packed with the PICT writer's PackBits encoder when asked).
#pragma once

#include "imaging/codec/BigEndianOut.h"
#include "imaging/pict/PictWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ilbmwriter {

using Bytes = std::vector<uint8_t>;

struct Picture {
    bool chunky = false; // PBM
    int width = 0;
    int height = 0;
    int planes = 0;
    int masking = 0;
    int compression = 0;
    int transparentColour = 0;
    std::vector<uint32_t> pixels; // width x height values
    std::vector<uint8_t> mask; // with masking 1: 1 for a pixel inside the mask
    Bytes colourMap; // red, green, blue per entry; no CMAP chunk when empty and noColourMap
    bool noColourMap = false;
    int64_t viewportMode = -1; // no CAMG chunk when negative
};

class Out : public testwriter::BigEndianOut {
public:
    void Chunk(const std::string& id, const Bytes& payload)
    {
        Text(id);
        U32(static_cast<uint32_t>(payload.size()));
        Raw(payload);
        if (payload.size() % 2)
            U8(0);
    }
};

// One stored row: the chunky bytes (made even), or each plane's bits padded to 16 and the mask plane.
inline Bytes StoredRow(const Picture& p, int y)
{
    const auto pixel = [&](int x) { return p.pixels[size_t(y) * size_t(p.width) + size_t(x)]; };
    if (p.chunky) {
        Bytes row(size_t((p.width + 1) / 2 * 2), 0);
        for (int x = 0; x < p.width; ++x)
            row[size_t(x)] = static_cast<uint8_t>(pixel(x));
        return row;
    }
    const size_t planeBytes = size_t((p.width + 15) / 16 * 2);
    const int stored = p.planes + (p.masking == 1 ? 1 : 0);
    Bytes row(planeBytes * size_t(stored), 0);
    for (int j = 0; j < stored; ++j)
        for (int x = 0; x < p.width; ++x) {
            const bool bit
                = j < p.planes ? (pixel(x) >> j) & 1 : p.mask[size_t(y) * size_t(p.width) + size_t(x)] != 0;
            if (bit)
                row[size_t(j) * planeBytes + size_t(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    return row;
}

inline Bytes Header(const Picture& p)
{
    Out o;
    o.U16(p.width);
    o.U16(p.height);
    o.U16(0);
    o.U16(0);
    o.U8(p.planes);
    o.U8(p.masking);
    o.U8(p.compression);
    o.U8(0);
    o.U16(p.transparentColour);
    o.U8(10);
    o.U8(11);
    o.U16(p.width);
    o.U16(p.height);
    return o.data;
}

// The body: stored rows, each plane's part of a row packed on its own when compressed.
inline Bytes Body(const Picture& p)
{
    Bytes body;
    const size_t part = p.chunky ? size_t((p.width + 1) / 2 * 2) : size_t((p.width + 15) / 16 * 2);
    for (int y = 0; y < p.height; ++y) {
        const Bytes row = StoredRow(p, y);
        for (size_t start = 0; start < row.size(); start += part) {
            const Bytes plain(row.begin() + long(start), row.begin() + long(start + part));
            const Bytes stored = p.compression ? pictwriter::PackBits(plain, 1) : plain;
            body.insert(body.end(), stored.begin(), stored.end());
        }
    }
    return body;
}

inline Bytes Write(const Picture& p)
{
    Out chunks;
    chunks.Text(p.chunky ? "PBM " : "ILBM");
    chunks.Chunk("BMHD", Header(p));
    if (!p.noColourMap)
        chunks.Chunk("CMAP", p.colourMap);
    if (p.viewportMode >= 0) {
        Out mode;
        mode.U32(static_cast<uint32_t>(p.viewportMode));
        chunks.Chunk("CAMG", mode.data);
    }
    chunks.Chunk("ANNO", { 'o', 'k', '!' });
    chunks.Chunk("BODY", Body(p));
    Out form;
    form.Text("FORM");
    form.U32(static_cast<uint32_t>(chunks.data.size()));
    form.data.insert(form.data.end(), chunks.data.begin(), chunks.data.end());
    return form.data;
}

} // namespace ilbmwriter
