// Recognising a format from the first bytes and from the name, on hand-made headers: each
// signature, the order of the tests where two could hold, and headers too short for a test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/detect/PLAnyPicDecoder.h"
#include "imaging/io/PLMemSource.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The bytes given, then zeros up to size.
Bytes Header(std::initializer_list<uint8_t> start, size_t size)
{
    Bytes out(start);
    out.resize(std::max(size, out.size()), 0);
    return out;
}

Bytes WithBytesAt(Bytes data, size_t at, std::initializer_list<uint8_t> bytes)
{
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<long>(at));
    return data;
}

int32_t Detect(const Bytes& data)
{
    const int size = static_cast<int>(data.size());
    return PLAnyPicDecoder::DetectFileType(data.data(), size, size);
}

struct SignatureCase {
    const char* what;
    Bytes header;
    int32_t type;
};

TEST(FileSignature, EachFormatAndTheOrderOfTheTests)
{
    const Bytes tga = WithBytesAt(Header({ 0, 0, 2 }, 18), 16, { 24 });
    const Bytes pict = WithBytesAt(Bytes(541, 0), 522, { 0x00, 0x11, 0x02, 0xFF });
    const SignatureCase cases[] = {
        { "BM", Header({ 'B', 'M' }, 64), PLFileType::Bmp },
        { "a bitmap array, before any other test",
            Header({ 'B', 'A', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 24 }, 64), PLFileType::Bmp },
        { "IC", Header({ 'I', 'C' }, 64), PLFileType::Bmp },
        { "CI", Header({ 'C', 'I' }, 64), PLFileType::Bmp },
        { "CP", Header({ 'C', 'P' }, 64), PLFileType::Bmp },
        { "TGA true colour", tga, PLFileType::Tga },
        { "TGA with a colour-map entry size it does not know", WithBytesAt(tga, 7, { 12 }),
            PLFileType::Unknown },
        { "TGA of image type 4", WithBytesAt(tga, 2, { 4 }), PLFileType::Unknown },
        { "TGA whose pixel depth byte is missing", Bytes(5, 0), PLFileType::Unknown },
        { "GIF", Header({ 'G', 'I', 'F', '8', '9', 'a' }, 64), PLFileType::Gif },
        { "TIFF little-endian", Header({ 'I', 'I', 42, 0 }, 64), PLFileType::Tiff },
        { "TIFF big-endian", Header({ 'M', 'M', 0, 42 }, 64), PLFileType::Tiff },
        { "PICT version 2", pict, PLFileType::Pict },
        { "PICT version 1", WithBytesAt(Bytes(541, 0xAA), 522, { 0x11, 0x01, 0x01, 0x00 }),
            PLFileType::Pict },
        { "PICT version 1, any opcode", WithBytesAt(Bytes(541, 0xAA), 522, { 0x00, 0x11, 0x01, 0x77 }),
            PLFileType::Pict },
        { "PICT of 540 bytes", Bytes(pict.begin(), pict.end() - 1), PLFileType::Unknown },
        { "JPEG", Header({ 0xFF, 0xD8, 0xFF, 0xE0 }, 64), PLFileType::Jpeg },
        { "PNG", Header({ 0x89, 'P', 'N', 'G', 13, 10 }, 64), PLFileType::Png },
        { "EPS with a TIFF preview",
            Header({ 0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 0, 0, 0, 8 },
                64),
            PLFileType::EpsTiff },
        { "EPS byte-swapped",
            Header({ 0xC6, 0xD3, 0xD0, 0xC5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 0, 0, 0, 8 },
                64),
            PLFileType::EpsTiff },
        { "EPS without a preview",
            Header({ 0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30 }, 64),
            PLFileType::Unknown },
        { "EPS header cut before the preview's length",
            Header({ 0xC5, 0xD0, 0xD3, 0xC6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 30, 0, 0, 0, 8 },
                25),
            PLFileType::Unknown },
        { "PCX", Header({ 10, 5, 1, 8 }, 64), PLFileType::Pcx },
        { "PGM text", Header({ 'P', '2', '\n' }, 64), PLFileType::Pgm },
        { "PGM binary", Header({ 'P', '5', '\n' }, 64), PLFileType::Pgm },
        { "PPM text", Header({ 'P', '3', '\n' }, 64), PLFileType::Ppm },
        { "PPM binary", Header({ 'P', '6', '\n' }, 64), PLFileType::Ppm },
        { "other portable maps", Header({ 'P', '4', '\n' }, 64), PLFileType::Unknown },
        { "PSD", Header({ '8', 'B', 'P', 'S', 0, 1 }, 64), PLFileType::Psd },
        { "SGI", Header({ 1, 0xDA, 0, 1 }, 64), PLFileType::Sgi },
        { "IFF-85", Header({ 'F', 'O', 'R', 'M', 0, 0, 0, 40, 'I', 'L', 'B', 'M' }, 64), PLFileType::Iff85 },
        { "nothing known", Header({ 'X', 'Y', 'Z', 'W', 1, 2, 3 }, 64), PLFileType::Unknown },
        { "empty", Bytes(), PLFileType::Unknown },
    };
    for (const SignatureCase& c : cases)
        EXPECT_EQ(Detect(c.header), c.type) << c.what;
}

// Detection reads no byte beyond the header it is given, even when the source is longer: a PICT
// whose version lies beyond the header is not recognised.
TEST(FileSignature, TestsNeedingBytesBeyondTheHeaderFail)
{
    const Bytes pict = WithBytesAt(Bytes(600, 0), 522, { 0x00, 0x11, 0x02, 0xFF });
    EXPECT_EQ(PLAnyPicDecoder::DetectFileType(pict.data(), PLAnyPicDecoder::kDetectionBytes, 600),
        PLFileType::Pict);
    EXPECT_EQ(PLAnyPicDecoder::DetectFileType(pict.data(), 512, 600), PLFileType::Unknown);
    const Bytes tga = WithBytesAt(Header({ 0, 0, 2 }, 18), 16, { 24 });
    EXPECT_EQ(PLAnyPicDecoder::DetectFileType(tga.data(), 16, 18), PLFileType::Unknown);
}

struct NameCase {
    std::string name;
    std::wstring wideName; // used when not empty
    int32_t type;
};

TEST(FileSignature, NamesThatDecideTheFormat)
{
    const NameCase cases[] = {
        { "drawing.wmf", L"", PLFileType::Wmf },
        { "picture.wmf.jpg", L"", PLFileType::Wmf },
        { "/studio/Logo.Emf", L"", PLFileType::Emf },
        { "both.emf.wmf", L"", PLFileType::Wmf },
        { "photo.jpg", L"", PLFileType::Unknown },
        { "wmf", L"", PLFileType::Unknown },
        { "", L"logo.eMf", PLFileType::Emf },
        { "", L"\u00e9t\u00e9.WMF", PLFileType::Wmf },
        { "", L"scan.tif", PLFileType::Unknown },
    };
    const uint8_t data[1] = { 0 };
    for (const NameCase& c : cases) {
        PLMemSource source;
        source.OpenMemory(data, 1);
        if (c.wideName.empty())
            source.Open(c.name.c_str(), 1);
        else
            source.OpenW(c.wideName.c_str(), 1);
        EXPECT_EQ(PLAnyPicDecoder::FileTypeFromName(source), c.type) << c.name;
        source.Close();
    }
}

} // namespace
