// A small PSD writer for the tests (and the fuzz seeds): header, colour-mode data, image resources,
// layer records with run-length channels, and the merged picture raw or run-length packed (with the
// PackBits encoder of the PICT writer). Numbers are written big-endian, as the format wants.
#pragma once

#include "imaging/codec/BigEndianOut.h"
#include "imaging/pict/PictWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace psdwriter {

using Bytes = std::vector<uint8_t>;

// A channel: its id and its samples, row after row (two bytes each, high first, at depth 16).
struct Channel {
    int id = 0;
    Bytes samples;
};

struct Layer {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    std::vector<Channel> channels;
};

struct Picture {
    int width = 0;
    int height = 0;
    int depth = 8;
    int mode = 3;
    int version = 1;
    Bytes colourModeData; // 768 bytes of palette for indexed pictures
    Bytes resources; // whole resource blocks (see Resource)
    std::vector<Layer> layers;
    std::vector<Bytes> merged; // the merged picture's channels
    int compression = 1; // 0 raw, 1 run-length
};

class Out : public testwriter::BigEndianOut {
public:
    void Block(const Bytes& b)
    {
        U32(static_cast<uint32_t>(b.size()));
        Raw(b);
    }
};

// One resource block: "8BIM", id, a name padded to even with its length byte, data padded to even.
inline Bytes Resource(int id, const std::string& name, const Bytes& payload)
{
    Out o;
    o.Text("8BIM");
    o.U16(id);
    o.U8(static_cast<int>(name.size()));
    o.Text(name);
    if ((name.size() + 1) % 2)
        o.U8(0);
    o.Block(payload);
    if (payload.size() % 2)
        o.U8(0);
    return o.data;
}

// The resolution resource (1005) for the given dots per inch.
inline Bytes ResolutionResource(int h, int v)
{
    Out o;
    o.U32(uint32_t(h) << 16);
    o.U16(1);
    o.U16(1);
    o.U32(uint32_t(v) << 16);
    o.U16(1);
    o.U16(1);
    return Resource(1005, "", o.data);
}

// A channel's rows packed: the 16-bit lengths, then the rows.
inline void PackRows(const Bytes& samples, int rowBytes, int rows, Bytes& lengths, Bytes& packed)
{
    for (int y = 0; y < rows; ++y) {
        const auto first = samples.begin() + long(y) * rowBytes;
        const Bytes row = pictwriter::PackBits(Bytes(first, first + rowBytes), 1);
        lengths.push_back(static_cast<uint8_t>(row.size() >> 8));
        lengths.push_back(static_cast<uint8_t>(row.size()));
        packed.insert(packed.end(), row.begin(), row.end());
    }
}

inline Bytes LayerChannelData(const Channel& c, int rowBytes, int rows)
{
    Bytes lengths;
    Bytes packed;
    PackRows(c.samples, rowBytes, rows, lengths, packed);
    Out o;
    o.U16(1);
    o.Raw(lengths);
    o.Raw(packed);
    return o.data;
}

inline Bytes LayerInfo(const Picture& p)
{
    Out records;
    Out channelData;
    records.U16(static_cast<int>(p.layers.size()));
    for (const Layer& layer : p.layers) {
        const int rowBytes = (layer.right - layer.left) * p.depth / 8;
        const int rows = layer.bottom - layer.top;
        records.U32(uint32_t(layer.top));
        records.U32(uint32_t(layer.left));
        records.U32(uint32_t(layer.bottom));
        records.U32(uint32_t(layer.right));
        records.U16(static_cast<int>(layer.channels.size()));
        for (const Channel& c : layer.channels) {
            const Bytes data = c.id == -2 ? Bytes { 0, 0 } : LayerChannelData(c, rowBytes, rows);
            records.U16(c.id);
            records.U32(static_cast<uint32_t>(data.size()));
            channelData.Raw(data);
        }
        records.Text("8BIMnorm");
        records.U8(255); // opacity
        records.U8(0); // clipping
        records.U8(0); // flags
        records.U8(0); // filler
        Out extra;
        extra.U32(0); // mask data
        extra.U32(0); // blending ranges
        extra.U8(3);
        extra.Text("Lay"); // name, padded to four bytes with its length byte
        records.Block(extra.data);
    }
    records.Raw(channelData.data);
    if (records.data.size() % 2)
        records.U8(0);
    return records.data;
}

inline Bytes Write(const Picture& p)
{
    Out o;
    o.Text("8BPS");
    o.U16(p.version);
    for (int i = 0; i < 6; ++i)
        o.U8(0);
    o.U16(static_cast<int>(p.merged.size()));
    o.U32(uint32_t(p.height));
    o.U32(uint32_t(p.width));
    o.U16(p.depth);
    o.U16(p.mode);
    o.Block(p.colourModeData);
    o.Block(p.resources);
    if (p.layers.empty()) {
        o.U32(0);
    } else {
        Out section;
        section.Block(LayerInfo(p));
        section.U32(0); // global mask
        o.Block(section.data);
    }
    o.U16(p.compression);
    const int rowBytes = p.width * p.depth / 8;
    if (p.compression == 0) {
        for (const Bytes& c : p.merged)
            o.Raw(c);
        return o.data;
    }
    Bytes lengths;
    Bytes packed;
    for (const Bytes& c : p.merged)
        PackRows(c, rowBytes, p.height, lengths, packed);
    o.Raw(lengths);
    o.Raw(packed);
    return o.data;
}

} // namespace psdwriter
