#include "imaging/psd/PLPSDDecoder.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/GreyPalette.h"
#include "imaging/io/PLTextException.h"
#include "platform/win/IntArithmetic.h"

#include <algorithm>
#include <string>

using psd::ChannelFormat;
using psd::ColourMode;
using psd::Slot;

namespace {

enum class Compression { Raw = 0, Rle = 1, Zip = 2, ZipPrediction = 3 };
constexpr const char* kCompressionTraces[] = { "No compression\n", "RLE compression\n",
    "ZIP compression, no prediction\n", "ZIP compression, prediction\n" };

} // namespace

PLPSDDecoder::PLPSDDecoder() = default;

PLPSDDecoder::~PLPSDDecoder() = default;

void PLPSDDecoder::Open(PLDataSource* pDataSrc)
{
    FreeLayers();
    m_pSource = pDataSrc;
    PLBigEndianReader reader(*pDataSrc);
    m_Header = psd::ReadHeader(reader);
    m_Palette = {};
    psd::ReadColourModeData(reader, m_Palette);
    const PLCoord resolution = psd::ReadResources(reader);
    const bool rgb = m_Header.mode == uint16_t(ColourMode::Rgb);
    const bool grey = m_Header.mode == uint16_t(ColourMode::Greyscale);
    if (grey) {
        const std::vector<PLPixel32> ramp = GreyPalette(8);
        std::copy(ramp.begin(), ramp.end(), m_Palette.begin());
    }
    SetInfo(PLCoord(int(m_Header.width), int(m_Header.height)), m_Header.BitsPerPixel(), resolution,
        rgb && m_Header.channels > 3, grey);
    psd::LayerSection section = psd::ReadLayerSection(reader);
    m_LayerSectionStart = section.start;
    m_LayerSectionLength = section.length;
    m_Layers = std::move(section.layers);
}

void PLPSDDecoder::SetPalette(PLBmp& bmp) const
{
    if (bmp.GetBitsPerPixel() == 8)
        bmp.SetPalette(m_Palette.data());
}

void PLPSDDecoder::DecodeImage(PLBmp* pBmp)
{
    if (!m_pSource)
        RaiseError(PL_ERR_INTERNAL, "PSD decoder has no picture open.");
    try {
        SetPalette(*pBmp);
        PLBigEndianReader reader(*m_pSource);
        if (m_LayerSectionLength > 0)
            reader.SkipTo(m_LayerSectionStart + m_LayerSectionLength);
        const int compression = reader.Read16();
        Trace(2, compression >= 0 && compression <= 3 ? kCompressionTraces[compression] : "");
        PLBmpLock lock(*pBmp, false, true);
        switch (Compression(compression)) {
        case Compression::Raw:
            ReadMergedRaw(reader, *pBmp);
            break;
        case Compression::Rle:
            ReadMergedRle(reader, *pBmp);
            break;
        case Compression::Zip:
        case Compression::ZipPrediction:
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "PSD decoder: Compression type not supported.");
        default:
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "PSD decoder: Compression unknown.");
        }
    } catch (...) {
        FreeLayers();
        throw;
    }
    FreeLayers();
}

Slot PLPSDDecoder::SlotOfColour(int component) const
{
    // An 8-bpp picture keeps its first channel (index or grey), an RGB picture its three colours.
    if (m_Header.BitsPerPixel() == 8)
        return component == 0 ? Slot::Index : Slot::None;
    static constexpr Slot kColours[] = { Slot::Red, Slot::Green, Slot::Blue };
    return component >= 0 && component < 3 ? kColours[component] : Slot::None;
}

Slot PLPSDDecoder::SlotOfMergedChannel(int index) const
{
    // The first channel after an RGB picture's colours is its alpha; further channels (spot colours,
    // saved selections) are dropped.
    return index == 3 && m_Header.BitsPerPixel() == 32 ? Slot::Alpha : SlotOfColour(index);
}

void PLPSDDecoder::ReadMergedRaw(PLBigEndianReader& reader, PLBmp& bmp) const
{
    const ChannelFormat format { GetWidth(), GetHeight(), m_Header.BytesPerSample() };
    for (int c = 0; c < m_Header.channels; ++c)
        psd::ReadRawChannel(reader, format, SlotOfMergedChannel(c), bmp);
}

void PLPSDDecoder::ReadMergedRle(PLBigEndianReader& reader, PLBmp& bmp) const
{
    const ChannelFormat format { GetWidth(), GetHeight(), m_Header.BytesPerSample() };
    const std::vector<uint16_t> lengths
        = psd::ReadRowLengths(reader, int64_t(m_Header.channels) * GetHeight());
    for (int c = 0; c < m_Header.channels; ++c)
        psd::ReadRleChannel(
            reader, format, lengths.data() + size_t(c) * size_t(GetHeight()), SlotOfMergedChannel(c), bmp);
}

void PLPSDDecoder::GetNextLayer(PLBmp& bmp)
{
    try {
        DecodeLayer(bmp);
    } catch (...) {
        Close();
        throw;
    }
}

PLCoord PLPSDDecoder::GetNextLayerSize() const
{
    if (m_NextLayer >= m_Layers.size())
        return PLCoord();
    const psd::Layer& layer = m_Layers[m_NextLayer];
    return PLCoord(win::SaturateToInt32(layer.Width()), win::SaturateToInt32(layer.Height()));
}

void PLPSDDecoder::DecodeLayer(PLBmp& bmp)
{
    if (!m_pSource || m_NextLayer >= m_Layers.size())
        RaiseError(PL_ERR_INTERNAL, "PSD decoder has no further layer.");
    Trace(2, "Reading Layer " + std::to_string(m_NextLayer) + "\n");
    const psd::Layer& layer = m_Layers[m_NextLayer++];
    const int bpp = m_Header.BitsPerPixel();
    CheckImageSize(layer.Width(), layer.Height(), bpp, "PSD decoder: Layer has no pixels.");
    const bool alpha = bpp == 32
        && std::any_of(
            layer.channels.begin(), layer.channels.end(), [](const auto& c) { return c.id == -1; });
    bmp.Create(int(layer.Width()), int(layer.Height()), bpp, alpha,
        m_Header.mode == uint16_t(ColourMode::Greyscale));
    SetPalette(bmp);
    m_LayerOffset = PLCoord(layer.left, layer.top);
    PLBigEndianReader reader(*m_pSource);
    const ChannelFormat format { bmp.GetWidth(), bmp.GetHeight(), m_Header.BytesPerSample() };
    PLBmpLock lock(bmp, false, true);
    for (const psd::LayerChannel& channel : layer.channels)
        ReadLayerChannel(reader, channel, format, bmp);
}

Slot PLPSDDecoder::SlotOfLayerChannel(int id) const
{
    // Ids 0 to 2 are the colours and -1 the transparency; masks have a rectangle of their own.
    return id == -1 && m_Header.BitsPerPixel() == 32 ? Slot::Alpha : SlotOfColour(id);
}

void PLPSDDecoder::ReadLayerChannel(
    PLBigEndianReader& reader, const psd::LayerChannel& channel, const ChannelFormat& format, PLBmp& bmp)
{
    const int64_t end = reader.Position() + channel.length;
    Trace(2, "Reading Channel " + std::to_string(channel.id) + "\n");
    const Slot slot = SlotOfLayerChannel(channel.id);
    if (slot != Slot::None) {
        if (reader.Read16() != uint16_t(Compression::Rle))
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "PSD decoder: Compression type not supported.");
        const std::vector<uint16_t> lengths = psd::ReadRowLengths(reader, format.height);
        psd::ReadRleChannel(reader, format, lengths.data(), slot, bmp);
        if (reader.Position() > end)
            RaiseError(PL_ERR_FORMAT_UNKNOWN, "PSD decoder: Channel data longer than its length.");
    }
    reader.SkipTo(end);
}

void PLPSDDecoder::FreeLayers()
{
    m_Layers.clear();
    m_NextLayer = 0;
}

void PLPSDDecoder::Close()
{
    FreeLayers();
    m_pSource = nullptr;
    PLPicDecoder::Close();
}
