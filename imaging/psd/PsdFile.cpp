#include "imaging/psd/PsdFile.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace psd {
namespace {

constexpr int kMaxChannels = 56;
constexpr uint16_t kResolutionResource = 1005;

void Refuse(const char* text)
{
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, text);
}

int64_t PaddedToEven(int64_t n)
{
    return n + (n & 1);
}

// The end of a section of the given length that starts here; it must lie inside the data.
int64_t SectionEnd(PLBigEndianReader& reader, int64_t length)
{
    const int64_t end = reader.Position() + length;
    if (end > reader.Size())
        PLPicDecoder::RaiseError(PL_ERR_END_OF_FILE, "PSD decoder: Section extends beyond the file.");
    return end;
}

void ReadResource(PLBigEndianReader& reader, int64_t sectionEnd, PLCoord& resolution)
{
    if (reader.ReadTag() != "8BIM")
        Refuse("PSD decoder: Wrong signature in resource data block.");
    const uint16_t id = reader.Read16();
    // The name is a length byte and its characters, padded so that both together are even.
    const int nameLength = reader.Read8();
    const uint8_t* name = reader.ReadBytes(PaddedToEven(1 + nameLength) - 1);
    PLPicDecoder::Trace(
        2, "Reading resource:" + std::string(reinterpret_cast<const char*>(name), nameLength) + "\n");
    const int64_t size = reader.Read32();
    const int64_t dataEnd = reader.Position() + PaddedToEven(size);
    if (dataEnd > sectionEnd)
        Refuse("PSD decoder: Resource extends beyond its section.");
    if (id == kResolutionResource && size >= 16) {
        const int32_t h = static_cast<int32_t>(reader.Read32() >> 16);
        reader.Skip(4);
        const int32_t v = static_cast<int32_t>(reader.Read32() >> 16);
        resolution = PLCoord(h, v);
    }
    reader.SkipTo(dataEnd);
}

Layer ReadLayerRecord(PLBigEndianReader& reader)
{
    Layer layer;
    layer.top = reader.ReadSigned32();
    layer.left = reader.ReadSigned32();
    layer.bottom = reader.ReadSigned32();
    layer.right = reader.ReadSigned32();
    const int channels = reader.Read16();
    if (channels > kMaxChannels)
        Refuse("PSD decoder: Too many channels in layer.");
    for (int c = 0; c < channels; ++c) {
        LayerChannel channel;
        channel.id = reader.ReadSigned16();
        channel.length = reader.Read32();
        layer.channels.push_back(channel);
    }
    const uint8_t* signature = reader.ReadBytes(4);
    std::copy_n(signature, 4, layer.blendSignature.begin());
    const uint8_t* key = reader.ReadBytes(4);
    std::copy_n(key, 4, layer.blendKey.begin());
    layer.opacity = reader.Read8();
    layer.clipping = reader.Read8();
    layer.flags = reader.Read8();
    reader.Skip(1); // filler
    layer.extraLength = reader.Read32();
    reader.Skip(layer.extraLength);
    return layer;
}

} // namespace

Header ReadHeader(PLBigEndianReader& reader)
{
    if (reader.ReadTag() != "8BPS")
        Refuse("PSD decoder: This isn't a photoshop file.");
    Header h;
    h.version = reader.Read16();
    reader.Skip(6);
    h.channels = reader.Read16();
    h.height = reader.Read32();
    h.width = reader.Read32();
    h.depth = reader.Read16();
    h.mode = reader.Read16();
    if (h.version != 1)
        PLPicDecoder::RaiseError(
            PL_ERR_FORMAT_NOT_SUPPORTED, "PSD decoder: This PSD version is not supported.");
    if (h.channels < 1 || h.channels > kMaxChannels)
        Refuse("PSD decoder: Illegal number of channels.");
    if (h.depth != 8 && h.depth != 16)
        PLPicDecoder::RaiseError(
            PL_ERR_FORMAT_NOT_SUPPORTED, "PSD decoder: This bit depth is not supported.");
    if (h.mode != uint16_t(ColourMode::Greyscale) && h.mode != uint16_t(ColourMode::Indexed)
        && h.mode != uint16_t(ColourMode::Rgb))
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_NOT_SUPPORTED, "This PSD color mode is not supported.");
    if (h.mode == uint16_t(ColourMode::Rgb) && h.channels < 3)
        Refuse("PSD decoder: An RGB picture needs three channels.");
    PLPicDecoder::CheckImageSize(h.width, h.height, h.BitsPerPixel(), "PSD decoder: The picture is empty.");
    return h;
}

void ReadColourModeData(PLBigEndianReader& reader, Palette& palette)
{
    const int64_t length = reader.Read32();
    const int64_t end = SectionEnd(reader, length);
    if (length >= 768) {
        const uint8_t* p = reader.ReadBytes(768);
        for (size_t i = 0; i < 256; ++i)
            palette[i].Set(p[i], p[256 + i], p[512 + i], 255);
    }
    reader.SkipTo(end);
}

PLCoord ReadResources(PLBigEndianReader& reader)
{
    const int64_t length = reader.Read32();
    const int64_t end = SectionEnd(reader, length);
    PLCoord resolution;
    while (reader.Position() < end)
        ReadResource(reader, end, resolution);
    return resolution;
}

LayerSection ReadLayerSection(PLBigEndianReader& reader)
{
    LayerSection section;
    section.length = reader.Read32();
    if (section.length == 0)
        return section;
    section.start = reader.Position();
    const int64_t end = SectionEnd(reader, section.length);
    const int64_t infoLength = reader.Read32();
    if (infoLength == 0)
        return section;
    if (reader.Position() + infoLength > end)
        Refuse("PSD decoder: Layer information extends beyond its section.");
    const int count = std::abs(int(reader.ReadSigned16()));
    PLPicDecoder::Trace(2, "Number of layers: " + std::to_string(count) + "\n");
    for (int i = 0; i < count; ++i)
        section.layers.push_back(ReadLayerRecord(reader));
    if (reader.Position() > end)
        Refuse("PSD decoder: Layer records extend beyond their section.");
    return section;
}

} // namespace psd
