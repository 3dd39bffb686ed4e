// Recognising a picture's format by its name and by the signature in its first bytes.
#include "imaging/detect/PLAnyPicDecoder.h"

#include "platform/win/LittleEndian.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The first bytes of a source, where every test asks only for bytes that are there.
class Header {
public:
    Header(const uint8_t* data, int size)
        : m_data(data)
        , m_size(data ? std::max(size, 0) : 0)
    {
    }

    bool Has(int count) const { return count <= m_size; }
    // True when the header holds text (bytes, not its terminating zero) at offset.
    bool Holds(int offset, const char* text) const
    {
        const int n = static_cast<int>(std::strlen(text));
        return Has(offset + n) && std::memcmp(m_data + offset, text, static_cast<size_t>(n)) == 0;
    }
    bool Holds(int offset, std::initializer_list<uint8_t> bytes) const
    {
        return Has(offset + static_cast<int>(bytes.size()))
            && std::equal(bytes.begin(), bytes.end(), m_data + offset);
    }
    bool ByteIs(int offset, std::initializer_list<int> values) const
    {
        return Has(offset + 1) && std::find(values.begin(), values.end(), m_data[offset]) != values.end();
    }
    uint32_t Le32(int offset) const
    {
        if (!Has(offset + 4))
            return 0;
        return static_cast<uint32_t>(win::LoadLittleEndian(m_data + offset, 4));
    }

private:
    const uint8_t* m_data;
    int m_size;
};

bool IsBitmap(const Header& h)
{
    return h.Holds(0, "BM") || h.Holds(0, "BA") || h.Holds(0, "IC") || h.Holds(0, "CI") || h.Holds(0, "CP");
}

// TGA has no signature: the colour-map type, image type, colour-map entry size and pixel depth
// must all be values the format knows.
bool IsTga(const Header& h)
{
    return h.ByteIs(1, { 0, 1 }) && h.ByteIs(2, { 0, 1, 2, 3, 9, 10, 11 })
        && h.ByteIs(7, { 0, 8, 15, 16, 24, 32 }) && h.ByteIs(16, { 8, 15, 16, 24, 32 });
}

bool IsTiff(const Header& h)
{
    return h.Holds(0, { 0x49, 0x49, 0x2A, 0x00 }) || h.Holds(0, { 0x4D, 0x4D, 0x00, 0x2A });
}

// The version opcode behind the 512-byte header, the picture size and the frame.
bool IsPict(const Header& h, int sourceSize)
{
    constexpr int kVersionAt = 522;
    return sourceSize > 540
        && (h.Holds(kVersionAt, { 0x00, 0x11, 0x02, 0xFF }) || h.Holds(kVersionAt, { 0x00, 0x11, 0x01 })
            || h.Holds(kVersionAt, { 0x11, 0x01, 0x01, 0x00 }));
}

// An EPS file with a TIFF preview: its offset and length (bytes 20 and 24) are both set.
bool IsEpsWithTiff(const Header& h)
{
    return (h.Holds(0, { 0xC5, 0xD0, 0xD3, 0xC6 }) || h.Holds(0, { 0xC6, 0xD3, 0xD0, 0xC5 })) && h.Has(28)
        && h.Le32(20) != 0 && h.Le32(24) != 0;
}

// ".WMF" or ".EMF" anywhere in the name, in any case (only ASCII letters are folded, whatever the
// process locale).
template <class Char> int32_t TypeFromName(std::basic_string<Char> name)
{
    for (Char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<Char>(c - 'a' + 'A');
    const auto contains = [&name](const char* part) {
        return std::search(name.begin(), name.end(), part, part + std::strlen(part)) != name.end();
    };
    if (contains(".WMF"))
        return PLFileType::Wmf;
    if (contains(".EMF"))
        return PLFileType::Emf;
    return PLFileType::Unknown;
}

} // namespace

int32_t PLAnyPicDecoder::FileTypeFromName(const PLDataSource& source)
{
    if (const wchar_t* wide = source.GetNameW())
        return TypeFromName(std::wstring(wide));
    return TypeFromName(std::string(source.GetName()));
}

int32_t PLAnyPicDecoder::DetectFileType(const uint8_t* header, int headerSize, int sourceSize)
{
    const Header h(header, headerSize);
    if (IsBitmap(h))
        return PLFileType::Bmp;
    if (IsTga(h))
        return PLFileType::Tga;
    if (h.Holds(0, "GIF8"))
        return PLFileType::Gif;
    if (IsTiff(h))
        return PLFileType::Tiff;
    if (IsPict(h, sourceSize))
        return PLFileType::Pict;
    if (h.Holds(0, { 0xFF, 0xD8, 0xFF }))
        return PLFileType::Jpeg;
    if (h.Holds(0, { 0x89, 'P', 'N', 'G' }))
        return PLFileType::Png;
    if (IsEpsWithTiff(h))
        return PLFileType::EpsTiff;
    if (h.ByteIs(0, { 10 }) && h.ByteIs(2, { 1 }))
        return PLFileType::Pcx;
    if (h.ByteIs(0, { 'P' }) && h.ByteIs(1, { '2', '5' }))
        return PLFileType::Pgm;
    if (h.ByteIs(0, { 'P' }) && h.ByteIs(1, { '3', '6' }))
        return PLFileType::Ppm;
    if (h.Holds(0, "8BPS"))
        return PLFileType::Psd;
    if (h.Holds(0, { 0x01, 0xDA }))
        return PLFileType::Sgi;
    if (h.Holds(0, "FORM"))
        return PLFileType::Iff85;
    return PLFileType::Unknown;
}
