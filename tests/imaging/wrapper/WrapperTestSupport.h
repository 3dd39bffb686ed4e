// Helpers for the wrapper's loading and saving tests: a picture made from a JPEG fixture, written in
// the format of a file type and loaded through the library's own decoder of that format, so that the
// file type the wrapper keeps is the one that decoder reports.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/EncoderTestSupport.h"
#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/pict/PictWriter.h"
#include "imaging/png/PLPNGDecoder.h"
#include "imaging/png/PLPNGEncoder.h"
#include "imaging/raster/PLBmpDecoder.h"
#include "imaging/raster/PLBmpEncoder.h"
#include "imaging/raster/PLTGADecoder.h"
#include "imaging/tiff/PLTIFFDecoder.h"
#include "imaging/tiff/PLTIFFEncoder.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/PictureDecoder.h"

namespace wrappertest {

using encodertest::Bytes;

// The picture as a version-2 PICT of 32-bit direct pixels (red, green and blue planes per row).
inline Bytes PictOf(const PLBmp& bmp)
{
    const int w = bmp.GetWidth(), h = bmp.GetHeight();
    std::vector<Bytes> rows;
    for (int y = 0; y < h; ++y) {
        Bytes planes;
        for (int c = 0; c < 3; ++c)
            for (int x = 0; x < w; ++x) {
                const PLPixel32 p = bmp.GetPixel32(x, y);
                planes.push_back(c == 0 ? p.GetR() : c == 1 ? p.GetG() : p.GetB());
            }
        rows.push_back(planes);
    }
    pictwriter::Writer writer(2, { 0, 0, h, w });
    writer.DirectBits({ 0, 0, h, w }, 32, 3, rows);
    writer.End();
    return writer.Data();
}

// The picture as an uncompressed 24-bit TGA stored from the top.
inline Bytes TgaOf(const PLBmp& bmp)
{
    const int w = bmp.GetWidth(), h = bmp.GetHeight();
    Bytes out = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0 };
    out.insert(out.end(), { uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 24, 0x20 });
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const PLPixel32 p = bmp.GetPixel32(x, y);
            out.insert(out.end(), { p.GetB(), p.GetG(), p.GetR() });
        }
    return out;
}

// An EPS file of no PostScript whose TIFF preview follows its 30-byte header.
inline Bytes EpsOf(const Bytes& tiff)
{
    Bytes out = { 0xC5, 0xD0, 0xD3, 0xC6 };
    const auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    for (const uint32_t v : { 30u, 0u, 0u, 0u, 30u, static_cast<uint32_t>(tiff.size()) })
        put32(v);
    out.insert(out.end(), { 0xFF, 0xFF });
    out.insert(out.end(), tiff.begin(), tiff.end());
    return out;
}

// Writes the recipe's picture to path in the format of the file type (JPEG, BMP, TIFF, PNG, PICT,
// TGA or an EPS preview) and loads it into the wrapper through the decoder of that format.
inline void LoadAs(Pellimar::DeviceIndepBitmap& dib, const std::string& path,
    const jpegfixtures::JpegRecipe& recipe, int32_t fileType)
{
    const Bytes jpeg = jpegfixtures::MakeJpeg(recipe);
    PLAnyBmp picture;
    PLJPEGDecoder().DecodeMemory(jpeg.data(), static_cast<int>(jpeg.size()), &picture, 32);
    std::unique_ptr<PLPicDecoder> decoder;
    Bytes file;
    switch (fileType) {
    case PLFileType::Jpeg:
        file = jpeg;
        decoder = std::make_unique<PLJPEGDecoder>();
        break;
    case PLFileType::Bmp: {
        PLBmpEncoder encoder;
        file = encodertest::EncodeToMemory(encoder, picture);
        decoder = std::make_unique<PLBmpDecoder>();
        break;
    }
    case PLFileType::Tiff: {
        PLTIFFEncoder encoder;
        file = encodertest::EncodeToMemory(encoder, picture);
        decoder = std::make_unique<PLTIFFDecoder>();
        break;
    }
    case PLFileType::Png: {
        PLPNGEncoder encoder;
        file = encodertest::EncodeToMemory(encoder, picture);
        decoder = std::make_unique<PLPNGDecoder>();
        break;
    }
    case PLFileType::Pict:
        file = PictOf(picture);
        decoder = std::make_unique<PLPictDecoder>();
        break;
    case PLFileType::Tga:
        file = TgaOf(picture);
        decoder = std::make_unique<PLTGADecoder>();
        break;
    case PLFileType::EpsTiff: {
        PLTIFFEncoder encoder;
        file = EpsOf(encodertest::EncodeToMemory(encoder, picture));
        decoder = MakePictureDecoder();
        break;
    }
    default:
        FAIL() << "no format of file type " << fileType;
    }
    encodertest::WriteFileBytes(path, file);
    ASSERT_EQ(dib.LoadFile(path, *decoder, -1, -1), ImageResult {});
    ASSERT_EQ(dib.GetFileType(), fileType);
}

} // namespace wrappertest
