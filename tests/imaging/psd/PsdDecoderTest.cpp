#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/ExternalDecoder.h"
#include "imaging/io/PLMemSource.h"
#include "imaging/io/PLTextException.h"
#include "imaging/psd/PLPSDDecoder.h"
#include "imaging/psd/PsdWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using psdwriter::Bytes;
using psdwriter::Picture;

std::unique_ptr<PLAnyBmp> Decode(const Bytes& file)
{
    PLPSDDecoder decoder;
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), bmp.get());
    return bmp;
}

int RefusalCode(const Bytes& file)
{
    return ErrorCodeOf([&] { Decode(file); });
}

// The sample of channel c at (x, y): distinct per channel and position, with runs along the rows so
// that the packing uses both kinds of run.
uint8_t Sample(int c, int x, int y)
{
    return static_cast<uint8_t>(x < 4 ? 40 * c + y : 17 * x + 29 * y + 61 * c);
}

// A channel of samples at the given depth; at depth 16 the low byte differs from the high one.
Bytes ChannelOf(int c, int width, int height, int depth)
{
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            samples.push_back(Sample(c, x, y));
            if (depth == 16)
                samples.push_back(static_cast<uint8_t>(255 - x));
        }
    return samples;
}

Picture PictureOf(int mode, int channels, int depth, int compression, int width = 11, int height = 5)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.mode = mode;
    p.depth = depth;
    p.compression = compression;
    for (int c = 0; c < channels; ++c)
        p.merged.push_back(ChannelOf(c, width, height, depth));
    if (mode == 2)
        for (int part = 0; part < 3; ++part)
            for (int i = 0; i < 256; ++i)
                p.colourModeData.push_back(static_cast<uint8_t>(i * (part + 1) + part * 50));
    return p;
}

// The colour a picture of PictureOf has at (x, y), as the decoder should give it.
PLPixel32 Expected(const Picture& p, int x, int y)
{
    const uint8_t v0 = Sample(0, x, y);
    if (p.mode == 1)
        return PLPixel32(v0, v0, v0, 255);
    if (p.mode == 2)
        return PLPixel32(p.colourModeData[v0], p.colourModeData[256 + v0], p.colourModeData[512 + v0], 255);
    const uint8_t alpha = p.merged.size() > 3 ? Sample(3, x, y) : 255;
    return PLPixel32(v0, Sample(1, x, y), Sample(2, x, y), alpha);
}

void ExpectPixelsNear(
    const PLBmp& bmp, const Bytes& rgba, int tolerance, const std::string& what, bool compareAlpha = true)
{
    ASSERT_EQ(rgba.size(), size_t(bmp.GetWidth()) * size_t(bmp.GetHeight()) * 4) << what;
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            const PLPixel32 ours = bmp.GetPixel32(x, y);
            const uint8_t* theirs = &rgba[(size_t(y) * size_t(bmp.GetWidth()) + size_t(x)) * 4];
            EXPECT_NEAR(ours.GetR(), theirs[0], tolerance) << what << " at " << x << "," << y;
            EXPECT_NEAR(ours.GetG(), theirs[1], tolerance) << what << " at " << x << "," << y;
            EXPECT_NEAR(ours.GetB(), theirs[2], tolerance) << what << " at " << x << "," << y;
            if (compareAlpha) {
                EXPECT_NEAR(ours.GetA(), theirs[3], tolerance) << what << " at " << x << "," << y;
            }
        }
}

TEST(PsdDecoder, EveryModeDepthAndCompressionAgreesWithImageMagick)
{
    struct Case {
        int mode;
        int channels;
        int bpp;
    };
    for (const Case c : { Case { 1, 1, 8 }, { 2, 1, 8 }, { 3, 3, 32 }, { 3, 4, 32 } })
        for (const int depth : { 8, 16 })
            for (const int compression : { 0, 1 }) {
                const Picture p = PictureOf(c.mode, c.channels, depth, compression);
                const std::string name = "mode" + std::to_string(c.mode) + "-" + std::to_string(c.channels)
                    + "ch-" + std::to_string(depth) + "-" + std::to_string(compression) + ".psd";
                const Bytes file = psdwriter::Write(p);
                const auto bmp = Decode(file);
                ASSERT_EQ(bmp->GetBitsPerPixel(), c.bpp) << name;
                EXPECT_EQ(bmp->HasAlpha(), c.channels == 4) << name;
                EXPECT_EQ(bmp->IsGreyscale(), c.mode == 1) << name;
                for (int y = 0; y < p.height; ++y)
                    for (int x = 0; x < p.width; ++x)
                        ASSERT_EQ(bmp->GetPixel32(x, y), Expected(p, x, y))
                            << name << " at " << x << "," << y;
                // ImageMagick 6 refuses indexed PSD files (also those it writes itself), takes the
                // fourth channel of a picture without layers as a spot colour, and scales 16-bit
                // samples by rounding where we keep the high byte.
                if (c.mode == 2)
                    continue;
                const std::string path = external::WriteTestFile("psd", name, file);
                ExpectPixelsNear(
                    *bmp, external::ImageMagickRgba(path, 0), depth == 16 ? 1 : 0, name, c.channels < 4);
            }
}

TEST(PsdDecoder, ExtraChannelsLeaveTheColourAndAlphaAlone)
{
    // A greyscale picture with an alpha channel keeps the grey channel; an RGB picture with alpha
    // and a spot channel keeps the fourth channel as alpha (the fifth is dropped, not stored over it).
    for (const int compression : { 0, 1 }) {
        const Picture grey = PictureOf(1, 2, 8, compression);
        const auto g = Decode(psdwriter::Write(grey));
        EXPECT_EQ(g->GetPixel32(7, 3), Expected(grey, 7, 3));
        const Picture rgb = PictureOf(3, 5, 8, compression);
        const auto c = Decode(psdwriter::Write(rgb));
        ASSERT_TRUE(c->HasAlpha());
        for (int y = 0; y < rgb.height; ++y)
            for (int x = 0; x < rgb.width; ++x)
                ASSERT_EQ(c->GetPixel32(x, y), Expected(rgb, x, y)) << x << "," << y;
    }
}

TEST(PsdDecoder, ResolutionFromItsResourceAfterResourcesWithNames)
{
    struct Case {
        std::string before; // the name of a resource before the resolution, padded with its length byte
        bool withResolution;
        int expected;
    };
    for (const Case& c : { Case { "", false, 0 }, { "", true, 72 }, { "a", true, 72 }, { "ab", true, 72 } }) {
        Picture p = PictureOf(3, 3, 8, 1, 4, 2);
        p.resources = psdwriter::Resource(1000, c.before, Bytes(5, 7));
        if (c.withResolution) {
            const Bytes resolution = psdwriter::ResolutionResource(c.expected, c.expected);
            p.resources.insert(p.resources.end(), resolution.begin(), resolution.end());
        }
        const Bytes file = psdwriter::Write(p);
        PLPSDDecoder decoder;
        PLMemSource source;
        source.OpenMemory(file.data(), int(file.size()));
        decoder.Open(&source);
        EXPECT_EQ(decoder.GetResolution(), PLCoord(c.expected, c.expected)) << "name '" << c.before << "'";
        decoder.Close();
    }
}

psdwriter::Layer LayerOf(int top, int left, int bottom, int right, const std::vector<int>& ids)
{
    psdwriter::Layer layer { top, left, bottom, right, {} };
    for (const int id : ids)
        layer.channels.push_back({ id, ChannelOf(id + 1, right - left, bottom - top, 8) });
    // Alpha from 200 up, so that no colour is hidden under a transparent pixel.
    for (auto& channel : layer.channels)
        if (channel.id == -1)
            for (uint8_t& sample : channel.samples)
                sample = static_cast<uint8_t>(200 + sample % 56);
    return layer;
}

TEST(PsdDecoder, LayersOneByOneWithChannelsFoundByTheirIds)
{
    // Channels in an order of their own, once with a user mask (which has a rectangle of its own;
    // ImageMagick misreads the mask as we write it, without mask data, so it checks the other file).
    for (const bool withMask : { false, true }) {
        Picture p = PictureOf(3, 3, 8, 1, 12, 8);
        p.layers.push_back(
            LayerOf(1, 2, 6, 9, withMask ? std::vector { 2, -1, 0, -2, 1 } : std::vector { 2, -1, 0, 1 }));
        p.layers.push_back(LayerOf(0, 0, 3, 4, { 0, 1, 2 }));
        const Bytes file = psdwriter::Write(p);
        PLPSDDecoder decoder;
        PLMemSource source;
        source.OpenMemory(file.data(), int(file.size()));
        decoder.Open(&source);
        ASSERT_EQ(decoder.GetNumLayers(), 2);
        const std::string path = external::WriteTestFile("psd", "layers.psd", file);
        for (int n = 0; n < 2; ++n) {
            PLAnyBmp layer;
            decoder.GetNextLayer(layer);
            const psdwriter::Layer& written = p.layers[size_t(n)];
            EXPECT_EQ(decoder.GetLayerOffset(), PLCoord(written.left, written.top));
            ASSERT_EQ(layer.GetSize(), PLCoord(written.right - written.left, written.bottom - written.top));
            EXPECT_EQ(layer.HasAlpha(), n == 0);
            for (int y = 0; y < layer.GetHeight(); ++y)
                for (int x = 0; x < layer.GetWidth(); ++x) {
                    const uint8_t alpha = n == 0 ? static_cast<uint8_t>(200 + Sample(0, x, y) % 56) : 255;
                    ASSERT_EQ(layer.GetPixel32(x, y),
                        PLPixel32(Sample(1, x, y), Sample(2, x, y), Sample(3, x, y), alpha))
                        << "layer " << n << " at " << x << "," << y;
                }
            if (!withMask)
                ExpectPixelsNear(
                    layer, external::ImageMagickRgba(path, n + 1), 0, "layer " + std::to_string(n));
        }
        PLAnyBmp merged;
        decoder.GetImage(merged);
        EXPECT_EQ(merged.GetPixel32(5, 6), Expected(p, 5, 6));
        decoder.Close();
    }
}

TEST(PsdDecoder, UnsupportedKindsAreRefusedWithTheirCodes)
{
    struct Case {
        const char* what;
        int mode;
        int depth;
        int version;
        int channels;
        int code;
    };
    for (const Case& c : { Case { "CMYK", 4, 8, 1, 4, PL_ERR_FORMAT_NOT_SUPPORTED },
             { "bitmap mode", 0, 8, 1, 1, PL_ERR_FORMAT_NOT_SUPPORTED },
             { "one bit deep", 1, 1, 1, 1, PL_ERR_FORMAT_NOT_SUPPORTED },
             { "32 bits deep", 3, 32, 1, 3, PL_ERR_FORMAT_NOT_SUPPORTED },
             { "large document", 3, 8, 2, 3, PL_ERR_FORMAT_NOT_SUPPORTED },
             { "no channels", 1, 8, 1, 0, PL_ERR_FORMAT_UNKNOWN },
             { "57 channels", 1, 8, 1, 57, PL_ERR_FORMAT_UNKNOWN },
             { "RGB of two channels", 3, 8, 1, 2, PL_ERR_FORMAT_UNKNOWN } }) {
        Picture p = PictureOf(c.mode, c.channels, c.depth == 16 ? 16 : 8, 0, 4, 2);
        p.depth = c.depth;
        p.version = c.version;
        EXPECT_EQ(RefusalCode(psdwriter::Write(p)), c.code) << c.what;
    }
    Bytes notPsd = psdwriter::Write(PictureOf(3, 3, 8, 0, 4, 2));
    notPsd[3] = 'X';
    EXPECT_EQ(RefusalCode(notPsd), PL_ERR_FORMAT_UNKNOWN);
    Picture zip = PictureOf(3, 3, 8, 0, 4, 2);
    zip.compression = 2;
    EXPECT_EQ(RefusalCode(psdwriter::Write(zip)), PL_ERR_FORMAT_UNKNOWN);
}

// Offsets into a file of PictureOf(..., 4, 2) without colour-mode data.
constexpr size_t kWidthOffset = 18;
constexpr size_t kColourModeLength = 26;
constexpr size_t kResourcesLength = 30;

void Put32(Bytes& file, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        file[at + size_t(i)] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

TEST(PsdDecoder, HostileLengthsAndSizesAreRefused)
{
    const Bytes plain = psdwriter::Write(PictureOf(3, 3, 8, 1, 4, 2));
    Bytes hugeColourMode = plain;
    Put32(hugeColourMode, kColourModeLength, 0xFFFFFFF0u);
    EXPECT_EQ(RefusalCode(hugeColourMode), PL_ERR_END_OF_FILE);
    Bytes hugeResources = plain;
    Put32(hugeResources, kResourcesLength, 0x7FFFFFFFu);
    EXPECT_EQ(RefusalCode(hugeResources), PL_ERR_END_OF_FILE);
    Bytes hugeWidth = plain;
    Put32(hugeWidth, kWidthOffset, 0x40000000u);
    EXPECT_EQ(RefusalCode(hugeWidth), PL_ERR_DIB_TOO_LARGE);

    // A resource whose data runs past the end of the resource section.
    Picture p = PictureOf(3, 3, 8, 1, 4, 2);
    p.resources = psdwriter::Resource(1000, "", Bytes(4, 0));
    Bytes longResource = psdwriter::Write(p);
    Put32(longResource, kResourcesLength + 4 + 8, 1000);
    EXPECT_EQ(RefusalCode(longResource), PL_ERR_FORMAT_UNKNOWN);

    // Run-length data that stops early.
    Bytes cut = plain;
    cut.resize(cut.size() - 3);
    EXPECT_EQ(RefusalCode(cut), PL_ERR_END_OF_FILE);
}

TEST(PsdDecoder, EmptyOrInvertedLayersAreRefusedAndTheMergedPictureStillDecodes)
{
    for (const auto& [top, left, bottom, right] :
        { std::array { 2, 2, 2, 5 }, { 2, 5, 4, 5 }, { 4, 6, 1, 2 } }) {
        Picture p = PictureOf(3, 3, 8, 1, 8, 6);
        p.layers.push_back(LayerOf(0, 0, 2, 2, { 0, 1, 2 }));
        const Bytes good = psdwriter::Write(p);
        // Point the layer's rectangle at the hostile one (the record follows the section and info
        // lengths and the layer count).
        Bytes file = good;
        const size_t record = 26 + 4 + 4 + 4 + 4 + 2;
        Put32(file, record, uint32_t(top));
        Put32(file, record + 4, uint32_t(left));
        Put32(file, record + 8, uint32_t(bottom));
        Put32(file, record + 12, uint32_t(right));
        PLPSDDecoder decoder;
        PLMemSource source;
        source.OpenMemory(file.data(), int(file.size()));
        decoder.Open(&source);
        PLAnyBmp layer;
        EXPECT_EQ(ErrorCodeOf([&] { decoder.GetNextLayer(layer); }), PL_ERR_FORMAT_UNKNOWN);
        EXPECT_EQ(Decode(file)->GetPixel32(3, 4), Expected(p, 3, 4));
    }
}

} // namespace
