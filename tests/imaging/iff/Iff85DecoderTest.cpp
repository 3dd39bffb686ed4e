#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/codec/ExternalDecoder.h"
#include "imaging/iff/IlbmWriter.h"
#include "imaging/iff/PLIFF85Decoder.h"
#include "imaging/io/PLTextException.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using ilbmwriter::Bytes;
using ilbmwriter::Picture;

std::unique_ptr<PLAnyBmp> Decode(const Bytes& file)
{
    PLIFF85Decoder decoder;
    auto bmp = std::make_unique<PLAnyBmp>();
    decoder.DecodeMemory(file.data(), static_cast<int>(file.size()), bmp.get());
    return bmp;
}

std::pair<int, std::string> Refusal(const Bytes& file)
{
    try {
        Decode(file);
    } catch (const PLTextException& e) {
        return { e.GetCode(), e.GetText() };
    }
    return { -1, "" };
}

Bytes ColourMap(int entries)
{
    Bytes map;
    for (int i = 0; i < entries; ++i) {
        map.push_back(static_cast<uint8_t>(i * 5 + 3));
        map.push_back(static_cast<uint8_t>(255 - i));
        map.push_back(static_cast<uint8_t>(i * 11));
    }
    return map;
}

PLPixel32 MapColour(const Picture& p, uint32_t index)
{
    const size_t i = 3 * size_t(index);
    return PLPixel32(p.colourMap[i], p.colourMap[i + 1], p.colourMap[i + 2], 255);
}

// A picture whose pixel (x, y) has value f(x, y), with runs at the start of each row.
Picture PictureOf(int planes, int compression, int width, int height, uint32_t (*f)(int, int, int))
{
    Picture p;
    p.width = width;
    p.height = height;
    p.planes = planes;
    p.compression = compression;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels.push_back(f(x < 5 ? 0 : x, y, planes));
    return p;
}

uint32_t IndexPattern(int x, int y, int planes)
{
    return uint32_t(x * 3 + y * 7 + 1) % (1u << planes);
}

// ilbmtoppm's reading of the file, as RGBA (opaque).
Bytes NetpbmRgba(const std::string& path)
{
    int width = 0;
    int height = 0;
    const Bytes rgb
        = external::PpmSamples(external::Output("ilbmtoppm '" + path + "' 2>/dev/null"), width, height);
    Bytes rgba;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        rgba.insert(rgba.end(), { rgb[i], rgb[i + 1], rgb[i + 2], 255 });
    return rgba;
}

// Compares the colours (not alpha) with ilbmtoppm's.
void ExpectSameAsNetpbm(const PLBmp& bmp, const Bytes& file, const std::string& name, int tolerance = 0)
{
    const std::string path = external::WriteTestFile("iff", name, file);
    const Bytes theirs = NetpbmRgba(path);
    ASSERT_EQ(theirs.size(), size_t(bmp.GetWidth()) * size_t(bmp.GetHeight()) * 4) << name;
    for (int y = 0; y < bmp.GetHeight(); ++y)
        for (int x = 0; x < bmp.GetWidth(); ++x) {
            const uint8_t* t = &theirs[(size_t(y) * size_t(bmp.GetWidth()) + size_t(x)) * 4];
            const PLPixel32 ours = bmp.GetPixel32(x, y);
            ASSERT_NEAR(ours.GetR(), t[0], tolerance) << name << " at " << x << "," << y;
            ASSERT_NEAR(ours.GetG(), t[1], tolerance) << name << " at " << x << "," << y;
            ASSERT_NEAR(ours.GetB(), t[2], tolerance) << name << " at " << x << "," << y;
        }
}

TEST(Iff85Decoder, IlbmAtEveryPlaneCountAndPbmAgreeWithNetpbm)
{
    for (const bool chunky : { false, true })
        for (int planes = 1; planes <= 8; ++planes)
            for (const int compression : { 0, 1 }) {
                if (chunky && planes != 8)
                    continue;
                Picture p = PictureOf(planes, compression, chunky ? 14 : 21, 3, IndexPattern);
                p.chunky = chunky;
                p.colourMap = ColourMap(1 << planes);
                const std::string name = std::string(chunky ? "pbm" : "ilbm") + std::to_string(planes) + "-"
                    + std::to_string(compression) + ".iff";
                const Bytes file = ilbmwriter::Write(p);
                const auto bmp = Decode(file);
                ASSERT_EQ(bmp->GetBitsPerPixel(), 8) << name;
                for (int y = 0; y < p.height; ++y)
                    for (int x = 0; x < p.width; ++x)
                        ASSERT_EQ(bmp->GetPixel32(x, y), MapColour(p, p.pixels[size_t(y * p.width + x)]))
                            << name << " at " << x << "," << y;
                ExpectSameAsNetpbm(*bmp, file, name);
            }
}

TEST(Iff85Decoder, PbmRowsOfAnOddWidthArePaddedToEven)
{
    // (ilbmtoppm reads such rows without their pad byte, so it cannot check this one.)
    for (const int compression : { 0, 1 }) {
        Picture p = PictureOf(8, compression, 13, 3, IndexPattern);
        p.chunky = true;
        p.colourMap = ColourMap(256);
        const auto bmp = Decode(ilbmwriter::Write(p));
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(bmp->GetRow(y)[x], p.pixels[size_t(y * p.width + x)]) << x << "," << y;
    }
}

TEST(Iff85Decoder, MaskPlaneIsPassedOver)
{
    for (const int compression : { 0, 1 }) {
        Picture p = PictureOf(4, compression, 19, 4, IndexPattern);
        p.masking = 1;
        p.colourMap = ColourMap(16);
        for (int i = 0; i < p.width * p.height; ++i)
            p.mask.push_back(static_cast<uint8_t>(i % 3 != 0));
        const Bytes file = ilbmwriter::Write(p);
        const auto bmp = Decode(file);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(bmp->GetPixel32(x, y), MapColour(p, p.pixels[size_t(y * p.width + x)]))
                    << x << "," << y;
        ExpectSameAsNetpbm(*bmp, file, "masked-" + std::to_string(compression) + ".iff");
    }
}

TEST(Iff85Decoder, TransparentColourGivesAlphaZero)
{
    Picture p = PictureOf(3, 1, 10, 2, IndexPattern);
    p.masking = 2;
    p.transparentColour = 0;
    p.colourMap = ColourMap(8);
    const auto bmp = Decode(ilbmwriter::Write(p));
    ASSERT_EQ(bmp->GetBitsPerPixel(), 32);
    EXPECT_TRUE(bmp->HasAlpha());
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const uint32_t v = p.pixels[size_t(y * p.width + x)];
            PLPixel32 expected = MapColour(p, v);
            expected.SetA(v == 0 ? 0 : 255);
            ASSERT_EQ(bmp->GetPixel32(x, y), expected) << x << "," << y;
        }
}

// Hold-and-modify values: every control code in turn, with data that changes along the row.
uint32_t HamPattern(int x, int y, int planes)
{
    const int dataBits = planes - 2;
    const uint32_t control = uint32_t(x + y) % 4;
    const uint32_t data = uint32_t(x * 5 + y * 3 + 2) % (1u << dataBits);
    return (control << dataBits) | data;
}

TEST(Iff85Decoder, HoldAndModifyAtSixAndEightPlanes)
{
    for (const int planes : { 6, 8 })
        for (const int compression : { 0, 1 }) {
            Picture p = PictureOf(planes, compression, 24, 3, HamPattern);
            p.colourMap = ColourMap(1 << (planes - 2));
            p.viewportMode = 0x800;
            const std::string name
                = "ham" + std::to_string(planes) + "-" + std::to_string(compression) + ".iff";
            const Bytes file = ilbmwriter::Write(p);
            const auto bmp = Decode(file);
            ASSERT_EQ(bmp->GetBitsPerPixel(), 32) << name;
            const int dataBits = planes - 2;
            for (int y = 0; y < p.height; ++y) {
                PLPixel32 colour(0, 0, 0, 255);
                for (int x = 0; x < p.width; ++x) {
                    const uint32_t v = p.pixels[size_t(y * p.width + x)];
                    const uint32_t data = v & ((1u << dataBits) - 1);
                    // Six planes: the data times 16; eight planes: the six data bits fill the byte.
                    const uint8_t c = planes == 6 ? uint8_t(data * 16) : uint8_t((data << 2) | (data >> 4));
                    switch (v >> dataBits) {
                    case 0:
                        colour = MapColour(p, data);
                        break;
                    case 1:
                        colour.SetB(c);
                        break;
                    case 2:
                        colour.SetR(c);
                        break;
                    default:
                        colour.SetG(c);
                    }
                    ASSERT_EQ(bmp->GetPixel32(x, y), colour) << name << " at " << x << "," << y;
                }
            }
            // ilbmtoppm scales the six data bits its own way (up to 2 off); we repeat the top bits below.
            if (planes == 8)
                ExpectSameAsNetpbm(*bmp, file, name, 3);
        }
}

uint32_t DeepPattern(int x, int y, int)
{
    return uint32_t(x * 0x0B1D07 + y * 0x305070 + 0x11223344);
}

TEST(Iff85Decoder, DeepPicturesOf24And32Planes)
{
    for (const int planes : { 24, 32 })
        for (const int compression : { 0, 1 }) {
            Picture p = PictureOf(planes, compression, 18, 3, DeepPattern);
            p.noColourMap = true;
            const std::string name
                = "deep" + std::to_string(planes) + "-" + std::to_string(compression) + ".iff";
            const Bytes file = ilbmwriter::Write(p);
            const auto bmp = Decode(file);
            ASSERT_EQ(bmp->GetBitsPerPixel(), 32) << name;
            EXPECT_EQ(bmp->HasAlpha(), planes == 32);
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    const uint32_t v = p.pixels[size_t(y * p.width + x)];
                    const uint8_t alpha = planes == 32 ? uint8_t(v >> 24) : 255;
                    ASSERT_EQ(bmp->GetPixel32(x, y),
                        PLPixel32(uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), alpha))
                        << name << " at " << x << "," << y;
                }
            if (planes == 24)
                ExpectSameAsNetpbm(*bmp, file, name);
        }
}

TEST(Iff85Decoder, ByteRunControlsAndRunsPastTheRowEnd)
{
    // Two rows of 16 pixels at one plane (two bytes a row): a no-op control, then a run of four
    // bytes that is cut at the row's end, then the second row as a literal.
    Picture p = PictureOf(1, 1, 16, 2, IndexPattern);
    p.colourMap = ColourMap(2);
    Bytes file = ilbmwriter::Write(p);
    const Bytes body { 0x80, 0xFD, 0xF0, 0x01, 0x0F, 0xAA };
    file.resize(file.size() - ilbmwriter::Body(p).size() - (ilbmwriter::Body(p).size() % 2));
    // Rewrite the body chunk's length and the form's length for the new body.
    const size_t bodyLength = file.size() - 4;
    file[bodyLength] = 0;
    file[bodyLength + 1] = 0;
    file[bodyLength + 2] = 0;
    file[bodyLength + 3] = static_cast<uint8_t>(body.size());
    file.insert(file.end(), body.begin(), body.end());
    const uint32_t form = static_cast<uint32_t>(file.size() - 8);
    file[4] = uint8_t(form >> 24);
    file[5] = uint8_t(form >> 16);
    file[6] = uint8_t(form >> 8);
    file[7] = uint8_t(form);
    const auto bmp = Decode(file);
    for (int x = 0; x < 16; ++x) {
        EXPECT_EQ(bmp->GetRow(0)[x], x < 4 ? 1 : x < 8 ? 0 : x < 12 ? 1 : 0) << x;
        EXPECT_EQ(bmp->GetRow(1)[x], (0x0FAA >> (15 - x)) & 1) << x;
    }
}

void Put32(Bytes& file, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        file[at + size_t(i)] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

TEST(Iff85Decoder, MalformedFormsAreRefusedWithTheirMessages)
{
    const auto with = [](auto change) {
        Picture p = PictureOf(5, 0, 12, 2, IndexPattern);
        p.colourMap = ColourMap(32);
        change(p);
        return ilbmwriter::Write(p);
    };
    struct Case {
        const char* what;
        Bytes file;
        int code;
        const char* text;
    };
    Bytes notForm = with([](Picture&) {});
    notForm[0] = 'L';
    Bytes otherType = with([](Picture&) {});
    otherType[8] = 'X';
    // The body is the last chunk: its length field comes just before it.
    const auto bodyLengthAt = [](const Bytes& file, const Picture& p) {
        const size_t body = ilbmwriter::Body(p).size();
        return file.size() - body - body % 2 - 4;
    };
    Picture packed = PictureOf(5, 1, 12, 2, IndexPattern);
    packed.colourMap = ColourMap(32);
    Bytes longBody = ilbmwriter::Write(packed);
    Put32(longBody, bodyLengthAt(longBody, packed), uint32_t(ilbmwriter::Body(packed).size() + 2));
    Bytes hugeForm = ilbmwriter::Write(packed);
    Put32(hugeForm, 4, 0xFFFFFFFFu);
    Put32(hugeForm, bodyLengthAt(hugeForm, packed), 0xFFFFFF00u);
    // The largest form length: its end, counted in 64 bits, lies past the data, which still holds
    // the whole picture.
    Bytes largestForm = with([](Picture&) {});
    Put32(largestForm, 4, 0xFFFFFFFFu);
    EXPECT_EQ(Decode(largestForm)->GetRow(1)[7], IndexPattern(7, 1, 5));
    const Case cases[] = {
        { "not a form", notForm, PL_ERR_WRONG_SIGNATURE, "File is not a single-form IFF." },
        { "other type", otherType, PL_ERR_FORMAT_UNKNOWN, "Unknown form type." },
        { "no palette", with([](Picture& p) { p.noColourMap = true; }), PL_ERR_FORMAT_UNKNOWN,
            "Palette not found." },
        { "48 entries at 5 planes", with([](Picture& p) { p.colourMap = ColourMap(48); }),
            PL_ERR_FORMAT_UNKNOWN, "Too many CMAP entries." },
        { "17 entries at HAM6", with([](Picture& p) {
             p.planes = 6;
             p.viewportMode = 0x800;
             p.colourMap = ColourMap(17);
         }),
            PL_ERR_FORMAT_UNKNOWN, "Too many CMAP entries." },
        { "masking 4", with([](Picture& p) { p.masking = 4; }), PL_ERR_FORMAT_UNKNOWN,
            "Unknown masking technique." },
        { "compression 2", with([](Picture& p) { p.compression = 2; }), PL_ERR_FORMAT_UNKNOWN,
            "Unknown compression method." },
        { "body past the form", longBody, PL_ERR_FORMAT_UNKNOWN, "Body extends beyond form." },
        { "form and body past the data", hugeForm, PL_ERR_END_OF_FILE, "" },
        { "12 planes", with([](Picture& p) { p.planes = 12; }), PL_ERR_FORMAT_NOT_SUPPORTED, "" },
        { "HAM of 9 planes", with([](Picture& p) {
             p.planes = 9;
             p.viewportMode = 0x800;
         }),
            PL_ERR_FORMAT_NOT_SUPPORTED, "" },
    };
    for (const Case& c : cases) {
        const auto [code, text] = Refusal(c.file);
        EXPECT_EQ(code, c.code) << c.what;
        EXPECT_NE(text.find(c.text), std::string::npos) << c.what << ": " << text;
    }
}

TEST(Iff85Decoder, PicturesBeyondTheCapAreRefused)
{
    Picture p = PictureOf(1, 1, 16, 1, IndexPattern);
    p.colourMap = ColourMap(2);
    Bytes file = ilbmwriter::Write(p);
    // The bitmap header follows "FORM", the length, "ILBM", "BMHD" and its length.
    file[20] = 0xFF;
    file[21] = 0xFF;
    file[22] = 0xFF;
    file[23] = 0xFF;
    EXPECT_EQ(Refusal(file).first, PL_ERR_DIB_TOO_LARGE);
}

} // namespace
