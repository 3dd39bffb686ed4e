#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/DecoderTestSupport.h"
#include "imaging/codec/ExternalDecoder.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/JpegFixtures.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/pict/PLPictDecoder.h"
#include "imaging/pict/PictWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using pictwriter::Bytes;
using pictwriter::Colour;
using pictwriter::Rect;
using pictwriter::Writer;

std::unique_ptr<PLAnyBmp> Decode(const Bytes& file, PLPicDecoder* jpeg = nullptr)
{
    PLPictDecoder decoder(jpeg);
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), bmp.get());
    return bmp;
}

// The message and code a file is refused with.
std::pair<int, std::string> Refusal(const Bytes& file, PLPicDecoder* jpeg = nullptr)
{
    try {
        Decode(file, jpeg);
    } catch (const PLTextException& e) {
        return { e.GetCode(), e.GetText() };
    }
    return { -1, "" };
}

// A palette whose entry i is (i, 255 - i, i * 3 mod 256).
std::vector<Colour> RampTable(int count)
{
    std::vector<Colour> table;
    for (int i = 0; i < count; ++i)
        table.push_back({ static_cast<uint16_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
            static_cast<uint8_t>(i * 3) });
    return table;
}

// Index rows of the given pixel size: pixel (x, y) has index (x + 2y) mod 2^pixelSize, packed high bits
// first.
std::vector<Bytes> IndexRows(int width, int height, int pixelSize, int rowBytes)
{
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes row(static_cast<size_t>(rowBytes), 0);
        for (int x = 0; x < width; ++x) {
            const int index = (x + 2 * y) % (1 << pixelSize);
            const int bit = x * pixelSize;
            row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(index << (8 - pixelSize - bit % 8));
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(PictDecoder, PixMapsAtEveryIndexDepthPackedAndPlain)
{
    struct Case {
        int pixelSize;
        int width;
    };
    // Row bytes of 8 and more are packed, shorter rows stored plain.
    for (const Case c : { Case { 8, 20 }, { 8, 5 }, { 8, 300 }, { 4, 21 }, { 4, 9 }, { 2, 37 }, { 2, 13 },
             { 1, 70 }, { 1, 17 } }) {
        const int height = 3;
        const int rowBytes = (c.width * c.pixelSize + 7) / 8;
        Writer w(2, { 0, 0, height, c.width });
        const Rect bounds { 10, 20, 10 + height, 20 + c.width };
        w.PixMapOpcode(bounds, c.pixelSize, rowBytes, RampTable(1 << c.pixelSize), false,
            IndexRows(c.width, height, c.pixelSize, rowBytes));
        w.End();
        const auto decoded = Decode(w.Data());
        const PLAnyBmp& bmp = *decoded;
        ASSERT_EQ(bmp.GetBitsPerPixel(), 8) << c.pixelSize << " " << c.width;
        ASSERT_EQ(bmp.GetWidth(), c.width);
        ASSERT_EQ(bmp.GetHeight(), height);
        EXPECT_EQ(bmp.GetResolution(), PLCoord(72, 72));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < c.width; ++x)
                ASSERT_EQ(bmp.GetRow(y)[x], (x + 2 * y) % (1 << c.pixelSize))
                    << c.pixelSize << " " << c.width << " at " << x << "," << y;
        const PLPixel32 last = bmp.GetPalette()[(1 << c.pixelSize) - 1];
        EXPECT_EQ(last.GetR(), (1 << c.pixelSize) - 1);
        EXPECT_EQ(last.GetG(), 256 - (1 << c.pixelSize));
    }
}

TEST(PictDecoder, ColourTableInOrderIgnoresTheValueFields)
{
    std::vector<Colour> table = RampTable(4);
    for (auto& entry : table)
        entry.value = 3; // would put every entry at 3 if the values counted
    Writer w(2, { 0, 0, 1, 8 });
    w.PixMapOpcode({ 0, 0, 1, 8 }, 8, 8, table, true, { Bytes { 0, 1, 2, 3, 0, 1, 2, 3 } });
    const auto decoded = Decode(w.Data());
    const PLAnyBmp& bmp = *decoded;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(bmp.GetPalette()[i].GetR(), i);
}

TEST(PictDecoder, DirectBitsAtThirtyTwoBitsWithAndWithoutAlpha)
{
    for (const int components : { 3, 4 }) {
        const int width = 9;
        const int height = 4;
        std::vector<Bytes> rows;
        for (int y = 0; y < height; ++y) {
            Bytes planes;
            for (int c = 0; c < components; ++c)
                for (int x = 0; x < width; ++x)
                    planes.push_back(static_cast<uint8_t>(c * 60 + x * 5 + y));
            rows.push_back(planes);
        }
        Writer w(2, { 0, 0, height, width });
        w.DirectBits({ 0, 0, height, width }, 32, components, rows);
        w.End();
        const auto decoded = Decode(w.Data());
        const PLAnyBmp& bmp = *decoded;
        ASSERT_EQ(bmp.GetBitsPerPixel(), 32);
        EXPECT_EQ(bmp.HasAlpha(), components == 4);
        const int colour = components == 4 ? 1 : 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const PLPixel32 p = bmp.GetRow32(y)[x];
                ASSERT_EQ(p.GetR(), (colour + 0) * 60 + x * 5 + y);
                ASSERT_EQ(p.GetG(), (colour + 1) * 60 + x * 5 + y);
                ASSERT_EQ(p.GetB(), (colour + 2) * 60 + x * 5 + y);
                ASSERT_EQ(p.GetA(), components == 4 ? x * 5 + y : 255);
            }
    }
}

TEST(PictDecoder, SixteenBitRowsRepeatTwoByteUnits)
{
    // 0xFE repeats the next two-byte unit three times; the 5-bit channels are scaled by 8.
    Writer w(2, { 0, 0, 1, 4 });
    w.Opcode(0x9A);
    w.U32(0xFF);
    w.U16(0x8000 | 8);
    w.RectOf({ 0, 0, 1, 4 });
    w.PixMapRecord(16, 3);
    w.RectOf({ 0, 0, 1, 4 });
    w.RectOf({ 0, 0, 1, 4 });
    w.U16(0);
    const uint16_t red = 31 << 10;
    const uint16_t mixed = (1 << 10) | (2 << 5) | 3;
    w.U8(6);
    w.Raw({ 0xFE, uint8_t(red >> 8), uint8_t(red), 0x00, uint8_t(mixed >> 8), uint8_t(mixed) });
    w.End();
    const auto decoded = Decode(w.Data());
    const PLAnyBmp& bmp = *decoded;
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(bmp.GetRow32(0)[x], PLPixel32(248, 0, 0, 255)) << x;
    EXPECT_EQ(bmp.GetRow32(0)[3], PLPixel32(8, 16, 24, 255));
}

TEST(PictDecoder, VersionOneBitMapDrawsSetBitsBlack)
{
    // Row bytes 2: stored plain. 16 x 2, the first row alternating, the second solid.
    Writer w(1, { 0, 0, 2, 16 });
    w.Opcode(0x90);
    w.U16(2);
    w.RectOf({ 0, 0, 2, 16 });
    w.RectOf({ 0, 0, 2, 16 });
    w.RectOf({ 0, 0, 2, 16 });
    w.U16(0);
    w.Raw({ 0xAA, 0xAA, 0xFF, 0xFF });
    w.End();
    const auto decoded = Decode(w.Data());
    const PLAnyBmp& bmp = *decoded;
    ASSERT_EQ(bmp.GetBitsPerPixel(), 8);
    EXPECT_EQ(bmp.GetPalette()[0], PLPixel32(255, 255, 255, 255));
    EXPECT_EQ(bmp.GetPalette()[1], PLPixel32(0, 0, 0, 255));
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(bmp.GetRow(0)[x], x % 2 == 0 ? 1 : 0) << x;
        EXPECT_EQ(bmp.GetRow(1)[x], 1) << x;
    }
}

TEST(PictDecoder, SkipsTheDrawingBeforeTheBitmap)
{
    Writer w(2, { 0, 0, 1, 8 });
    w.Opcode(0x0001); // clip region of 10 bytes
    w.U16(10);
    w.RectOf({ 0, 0, 1, 8 });
    w.Opcode(0x00A5); // reserved with a 16-bit length
    w.U16(4);
    w.U32(0xDEADBEEF);
    w.Opcode(0x8000); // reserved without data
    w.Opcode(0x0200); // reserved: four bytes
    w.U32(0);
    w.Opcode(0x00D0); // reserved with a 32-bit length
    w.U32(3);
    w.Raw({ 1, 2, 3 });
    w.Opcode(0x0024); // a 16-bit length follows
    w.U16(2);
    w.U16(0);
    w.Opcode(0x0070); // a polygon
    w.U16(12);
    w.Raw(Bytes(10, 7));
    w.Opcode(0x00A1); // long comment
    w.U16(100);
    w.U16(3);
    w.Raw({ 'a', 'b', 'c' });
    w.Opcode(0x0012); // pixel pattern of type 1, 8 x 8 at 8 bits, rows plain
    w.U16(1);
    w.Raw(Bytes(8, 0));
    w.U16(0x8000 | 8);
    w.RectOf({ 0, 0, 8, 8 });
    w.PixMapRecord(8, 1);
    w.ColourTable(RampTable(2), false);
    w.Rows(std::vector<Bytes>(8, Bytes(8, 1)), 8);
    w.Opcode(0x0013); // pixel pattern of type 2
    w.U16(2);
    w.Raw(Bytes(13, 0));
    w.Opcode(0x0020); // a line
    w.Raw(Bytes(8, 0));
    w.PixMapOpcode({ 0, 0, 1, 8 }, 8, 8, RampTable(8), false, { Bytes { 7, 6, 5, 4, 3, 2, 1, 0 } }, 0x99);
    w.End();
    const auto decoded = Decode(w.Data());
    const PLAnyBmp& bmp = *decoded;
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(bmp.GetRow(0)[x], 7 - x);
}

// The version-2 header opcode carries 24 bytes: the version, the resolutions, the source rect and
// four reserved bytes, which real files fill with 00 00 7F FF. Read as ImageMagick reads it.
TEST(PictDecoder, VersionTwoHeaderIsSkippedWhole)
{
    const int width = 5, height = 3;
    std::vector<Bytes> rows;
    for (int y = 0; y < height; ++y) {
        Bytes planes;
        for (int c = 0; c < 3; ++c)
            for (int x = 0; x < width; ++x)
                planes.push_back(static_cast<uint8_t>(c * 70 + x * 9 + y * 20));
        rows.push_back(planes);
    }
    Writer w(2, { 0, 0, height, width });
    w.DirectBits({ 0, 0, height, width }, 32, 3, rows);
    w.End();
    Bytes file = w.Data();
    // The header's data follows the size, the frame, the version opcode and its own opcode.
    const Bytes header = { 0xFF, 0xFE, 0, 0, 0, 0x48, 0, 0, 0, 0x48, 0, 0, 0, 0, 0, 0, 0, height, 0, width, 0,
        0, 0x7F, 0xFF };
    ASSERT_EQ(file[526], 0x0C);
    std::copy(header.begin(), header.end(), file.begin() + 528);
    const auto decoded = Decode(file);
    const Bytes ours = encodertest::ExpectedRgba(*decoded);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(decoded->GetPixel32(x, y),
                PLPixel32(rows[size_t(y)][size_t(x)], rows[size_t(y)][size_t(width + x)],
                    rows[size_t(y)][size_t(2 * width + x)], 255))
                << x << ", " << y;
    const std::string path = external::WriteTestFile("pict-header", "header.pict", file);
    EXPECT_EQ(decodertest::ImageMagickRgba(path), ours);
}

TEST(PictDecoder, VectorDrawingAloneIsRefused)
{
    for (const int version : { 1, 2 }) {
        Writer w(version, { 0, 0, 10, 10 });
        w.Opcode(0x20); // a line
        w.Raw(Bytes(8, 0));
        w.Opcode(0x31); // paint a rectangle
        w.Raw(Bytes(8, 0));
        w.End();
        EXPECT_EQ(Refusal(w.Data()),
            std::make_pair(PL_ERR_FORMAT_NOT_SUPPORTED,
                std::string("Decoder error: PICT contained only vector data!\n\n")))
            << version;
    }
}

// A PICT whose first picture is QuickTime JPEG data behind a few bytes of its own.
Bytes PictWithJpeg(const Bytes& jpeg)
{
    Writer w(2, { 0, 0, 16, 16 });
    w.Opcode(0x8200);
    w.U32(static_cast<uint32_t>(jpeg.size() + 70));
    w.Raw(Bytes(70, 0x11));
    w.Raw(jpeg);
    return w.Data();
}

TEST(PictDecoder, EmbeddedJpegMatchesLibjpegsOwnDecode)
{
    jpegfixtures::JpegRecipe recipe;
    recipe.width = 24;
    recipe.height = 16;
    const Bytes jpeg = jpegfixtures::MakeJpeg(recipe);
    PLJPEGDecoder jpegDecoder;
    jpegDecoder.SetFast(false);
    const auto decoded = Decode(PictWithJpeg(jpeg), &jpegDecoder);
    const PLAnyBmp& bmp = *decoded;
    const auto reference = jpegfixtures::ReferenceDecode(jpeg, jpegfixtures::Layout::Bgra, true);
    ASSERT_EQ(bmp.GetWidth(), reference.width);
    ASSERT_EQ(bmp.GetHeight(), reference.height);
    for (int y = 0; y < bmp.GetHeight(); ++y)
        ASSERT_EQ(0,
            std::memcmp(bmp.GetRow(y), reference.samples.data() + size_t(y) * size_t(reference.width) * 4,
                size_t(reference.width) * 4))
            << y;

    EXPECT_EQ(Refusal(PictWithJpeg(jpeg)),
        std::make_pair(PL_ERR_FORMAT_NOT_SUPPORTED,
            std::string("Decoder error: Library not compiled for PICT/JPEG.\n")));
    EXPECT_EQ(Refusal(PictWithJpeg(Bytes(20, 0))).first, PL_ERR_FORMAT_NOT_SUPPORTED);
}

TEST(PictDecoder, AFailedEmbeddedJpegLeavesTheJpegDecoderReady)
{
    jpegfixtures::JpegRecipe recipe;
    const Bytes good = jpegfixtures::MakeJpeg(recipe);
    const Bytes bad { 0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xD9 };
    PLJPEGDecoder jpegDecoder;
    EXPECT_NE(Refusal(PictWithJpeg(bad), &jpegDecoder).first, -1);
    const auto decoded = Decode(PictWithJpeg(good), &jpegDecoder);
    const PLAnyBmp& bmp = *decoded;
    EXPECT_EQ(bmp.GetWidth(), recipe.width);
    // The JPEG decoder is usable on its own again.
    PLAnyBmp plain;
    jpegDecoder.DecodeMemory(good.data(), static_cast<int>(good.size()), &plain);
    EXPECT_EQ(plain.GetHeight(), recipe.height);
}

// The start of a version-2 file up to its first opcode.
Writer Start()
{
    return Writer(2, { 0, 0, 4, 4 });
}

TEST(PictDecoder, HostileFilesAreRefusedCleanly)
{
    struct Case {
        const char* what;
        Bytes file;
        int code;
    };
    std::vector<Case> cases;
    {
        Writer w = Start();
        w.Opcode(0x0001);
        w.U16(1); // a region smaller than its size field
        cases.push_back({ "region size 1", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.Opcode(0x0071);
        w.U16(0);
        cases.push_back({ "polygon size 0", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.Opcode(0x00D1);
        w.U32(0xFFFFFFFF);
        w.Raw(Bytes(64, 0));
        cases.push_back({ "32-bit length past the data", w.Data(), PL_ERR_END_OF_FILE });
    }
    {
        Writer w = Start();
        w.Opcode(0x00A3);
        w.U16(0x7000);
        cases.push_back({ "16-bit length past the data", w.Data(), PL_ERR_END_OF_FILE });
    }
    {
        Writer w = Start();
        w.PixMapOpcode({ 0, 5, 4, 5 }, 8, 8, RampTable(2), false, {});
        cases.push_back({ "empty bounds", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.PixMapOpcode({ 4, 0, 0, 4 }, 8, 8, RampTable(2), false, {});
        cases.push_back({ "upside-down bounds", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.PixMapOpcode({ 0, 0, 1, 8 }, 8, 8, RampTable(300), true, { Bytes(8, 0) });
        cases.push_back({ "colour table of 300", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        std::vector<Colour> table = RampTable(2);
        table[1].value = 2;
        Writer w = Start();
        w.PixMapOpcode({ 0, 0, 1, 8 }, 8, 8, table, false, { Bytes(8, 0) });
        cases.push_back({ "colour index beyond the table", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.PixMapOpcode({ 0, 0, 1, 8 }, 3, 8, RampTable(8), false, { Bytes(8, 0) });
        cases.push_back({ "pixel size 3", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.DirectBits({ 0, 0, 1, 4 }, 32, 2, { Bytes(8, 0) });
        cases.push_back({ "two components", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Writer w = Start();
        w.Opcode(0x0012);
        w.U16(3);
        cases.push_back({ "pattern type 3", w.Data(), PL_ERR_FORMAT_UNKNOWN });
    }
    {
        Bytes file = Start().Data();
        file[512 + 2 + 8 + 1] = 0x12; // the version opcode's byte
        cases.push_back({ "version number missing", file, PL_ERR_WRONG_SIGNATURE });
        file[512 + 2 + 8 + 1] = 0x11;
        file[512 + 2 + 8 + 2] = 0x03;
        cases.push_back({ "illegal version", file, PL_ERR_WRONG_SIGNATURE });
    }
    cases.push_back({ "header alone", Bytes(512, 0), PL_ERR_END_OF_FILE });
    for (const Case& c : cases)
        EXPECT_EQ(Refusal(c.file).first, c.code) << c.what;
}

TEST(PictDecoder, EveryTruncationIsRefusedCleanly)
{
    Writer w(2, { 0, 0, 3, 40 });
    w.Opcode(0x0001);
    w.U16(10);
    w.RectOf({ 0, 0, 3, 40 });
    w.PixMapOpcode({ 0, 0, 3, 40 }, 8, 40, RampTable(16), false, IndexRows(40, 3, 8, 40), 0x99);
    const Bytes whole = w.Data();
    ASSERT_NO_THROW(Decode(whole));
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + long(size));
        EXPECT_NE(Refusal(cut).first, -1) << size;
    }
}

} // namespace
