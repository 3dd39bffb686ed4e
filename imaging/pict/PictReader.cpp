#include "imaging/pict/PictReader.h"

#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLTextException.h"

#include <string>

namespace pict {

uint8_t Reader::Peek8()
{
    return *Source().PeekBytes(1);
}

Rect Reader::ReadRect()
{
    Rect r;
    r.top = static_cast<int16_t>(Read16());
    r.left = static_cast<int16_t>(Read16());
    r.bottom = static_cast<int16_t>(Read16());
    r.right = static_cast<int16_t>(Read16());
    return r;
}

PixMap Reader::ReadPixMap()
{
    PixMap p;
    p.version = Read16();
    p.packType = Read16();
    p.packSize = Read32();
    p.hRes = Read32();
    p.vRes = Read32();
    p.pixelType = Read16();
    p.pixelSize = Read16();
    p.cmpCount = Read16();
    p.cmpSize = Read16();
    p.planeBytes = Read32();
    p.table = Read32();
    p.reserved = Read32();
    return p;
}

Palette Reader::ReadColourTable()
{
    PLPicDecoder::Trace(3, "Getting color table info.\n");
    Skip(4); // seed
    const uint16_t flags = Read16();
    const int count = Read16() + 1;
    PLPicDecoder::Trace(2, "Palette Size:  " + std::to_string(count - 1) + "\n");
    PLPicDecoder::Trace(3, "Reading Palette.\n");
    if (count > 256)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "colour table larger than 256 entries.");
    Palette palette {};
    for (int i = 0; i < count; ++i) {
        const uint16_t value = Read16();
        const int index = (flags & 0x8000) ? i : value;
        ColourEntry entry;
        entry.red = static_cast<uint8_t>(Read16() >> 8);
        entry.green = static_cast<uint8_t>(Read16() >> 8);
        entry.blue = static_cast<uint8_t>(Read16() >> 8);
        if (index >= count)
            PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "pixel value greater than colour table size.");
        palette[static_cast<size_t>(index)] = entry;
    }
    return palette;
}

void Reader::SkipSizedRecord()
{
    const uint16_t size = Read16();
    if (size < 2)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "region or polygon smaller than its own size field.");
    Skip(size - 2);
}

void CheckBounds(const Rect& bounds)
{
    if (bounds.Width() <= 0 || bounds.Height() <= 0)
        PLPicDecoder::RaiseError(PL_ERR_FORMAT_UNKNOWN, "bitmap bounds are empty.");
}

} // namespace pict
