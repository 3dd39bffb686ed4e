#include "imaging/metafile/MetafileData.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

namespace metafile {
namespace {

constexpr uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kWmfHeaderSize = 18;
constexpr uint32_t kMaxHandles = 65535;

uint16_t Get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

[[noreturn]] void Malformed(const char* text)
{
    PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, text);
}

void ReadEmfHeader(const Record& header, Metafile& m)
{
    const Params p(header);
    m.bounds = { p.I32(16), p.I32(20), p.I32(24), p.I32(28) }; // the frame
    m.handles = std::min<uint32_t>(p.U16(48), kMaxHandles);
    m.deviceWidth = p.I32(64);
    m.deviceHeight = p.I32(68);
    m.deviceWidthMm = p.I32(72);
    m.deviceHeightMm = p.I32(76);
}

void ReadEmfPalette(const Record& eof, Metafile& m)
{
    const Params p(eof);
    const uint32_t entries = p.U32(0);
    const uint32_t offset = p.U32(4);
    if (entries == 0 || entries > 256 || offset < 8)
        return;
    // The offset counts from the record's start, before its type and size.
    const uint8_t* table = p.Bytes(offset - 8, uint64_t(entries) * 4);
    for (uint32_t i = 0; i < entries; ++i)
        m.palette.emplace_back(table[4 * i], table[4 * i + 1], table[4 * i + 2], 255);
}

Metafile ParseEmf(const uint8_t* data, size_t size)
{
    Metafile m;
    m.kind = Kind::Emf;
    size_t at = 0;
    while (at + 8 <= size) {
        const uint32_t type = Get32(data + at);
        const uint32_t length = Get32(data + at + 4);
        if (length < 8 || length % 4 != 0 || length > size - at)
            Malformed("Enhanced metafile record runs past the data.");
        const Record record { type, data + at + 8, length - 8 };
        if (at == 0)
            ReadEmfHeader(record, m);
        if (type == kEmrEof) {
            ReadEmfPalette(record, m);
            break;
        }
        m.records.push_back(record);
        at += length;
    }
    return m;
}

Metafile ParseWmf(const uint8_t* data, size_t size)
{
    Metafile m;
    size_t at = 0;
    if (size >= kPlaceableSize && Get32(data) == kPlaceableKey) {
        m.kind = Kind::PlaceableWmf;
        const auto coordinate
            = [&](size_t offset) { return int32_t(static_cast<int16_t>(Get16(data + offset))); };
        m.bounds = { coordinate(6), coordinate(8), coordinate(10), coordinate(12) };
        m.unitsPerInch = Get16(data + 14);
        at = kPlaceableSize;
    }
    if (size - at < kWmfHeaderSize || (Get16(data + at) != 1 && Get16(data + at) != 2)
        || Get16(data + at + 2) != 9)
        PLPicDecoder::RaiseError(PL_ERR_WRONG_SIGNATURE, "This is no Windows metafile.");
    m.handles = Get16(data + at + 10);
    at += kWmfHeaderSize;
    while (at + 6 <= size) {
        const uint64_t length = uint64_t(Get32(data + at)) * 2;
        const uint32_t function = Get16(data + at + 4);
        if (length < 6 || length > size - at)
            Malformed("Windows metafile record runs past the data.");
        if (function == 0) // the last record
            break;
        m.records.push_back({ function, data + at + 6, static_cast<size_t>(length - 6) });
        at += static_cast<size_t>(length);
    }
    return m;
}

} // namespace

uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint8_t Params::U8(size_t offset) const
{
    return *Bytes(offset, 1);
}

uint16_t Params::U16(size_t offset) const
{
    return Get16(Bytes(offset, 2));
}

uint32_t Params::U32(size_t offset) const
{
    return Get32(Bytes(offset, 4));
}

const uint8_t* Params::Bytes(size_t offset, uint64_t n) const
{
    if (offset > m_size || n > m_size - offset)
        Malformed("Metafile record too short.");
    return m_data + offset;
}

bool IsEnhanced(const uint8_t* data, size_t size)
{
    return size >= 88 && Get32(data) == kEmrHeader && Get32(data + 40) == kEmfSignature;
}

Metafile Parse(const uint8_t* data, size_t size)
{
    return IsEnhanced(data, size) ? ParseEmf(data, size) : ParseWmf(data, size);
}

} // namespace metafile
