#include "imaging/metafile/MetafileDib.h"

#include "imaging/metafile/EmfRecordTypes.h"
#include "imaging/metafile/MetafileData.h"
#include "imaging/metafile/MetafileDibBits.h"

#include <optional>

namespace metafile {
namespace {

constexpr int64_t kMaxPatternPixels = 1 << 16;

void Put32(Bytes& b, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        b.push_back(uint8_t(v >> shift));
}

// The layout a packed DIB's header gives; false when it is no picture. Bit-field masks lie inside
// the longer headers, or follow a 40-byte one (masksAfter: the bytes they take there).
bool ReadLayout(const uint8_t* dib, uint64_t size, DibLayout& layout, uint64_t& masksAfter)
{
    const uint32_t headerSize = Get32(dib);
    layout.width = static_cast<int32_t>(Get32(dib + 4));
    layout.height = static_cast<int32_t>(Get32(dib + 8));
    layout.bitsPerPixel = dib[14] | (dib[15] << 8);
    layout.compression = Get32(dib + 16);
    if (headerSize < 40 || headerSize > size || layout.width <= 0 || layout.height == 0
        || layout.height == INT32_MIN || layout.bitsPerPixel > 32)
        return false;
    masksAfter = 0;
    if (layout.compression != kDibBitFields)
        return true;
    constexpr uint64_t kMasksEnd = 52;
    if (headerSize < kMasksEnd) {
        masksAfter = kMasksEnd - 40;
        if (size < kMasksEnd)
            return false;
    }
    const uint8_t* m = dib + 40;
    layout.masks = { Get32(m), Get32(m + 4), Get32(m + 8), headerSize >= 56 ? Get32(m + 12) : 0 };
    return true;
}

// What a packed DIB's header gives: its layout, its colour count and where its bits begin (after
// the header, the masks that follow a 40-byte header and the colours).
struct DibInfo {
    DibLayout layout;
    uint64_t entries = 0;
    uint64_t bitsAt = 0;
};

// nullopt when the DIB is no picture or has more than 256 colours.
std::optional<DibInfo> ReadInfo(const uint8_t* dib, uint64_t size)
{
    DibInfo info;
    uint64_t masksAfter = 0;
    if (size < 40 || !ReadLayout(dib, size, info.layout, masksAfter))
        return std::nullopt;
    const int bpp = info.layout.bitsPerPixel;
    const uint32_t used = Get32(dib + 32);
    info.entries = bpp <= 8 ? (used != 0 && used <= (1u << bpp) ? used : (1u << bpp)) : used;
    if (info.entries > 256)
        return std::nullopt;
    info.bitsAt = uint64_t(Get32(dib)) + masksAfter + info.entries * 4;
    return info;
}

} // namespace

bool ReadDib(const uint8_t* dib, uint64_t size, DibPicture& picture)
{
    const auto info = ReadInfo(dib, size);
    if (!info || info->bitsAt > size)
        return false;
    const DibLayout& layout = info->layout;
    const uint64_t entries = info->entries;
    const uint64_t bitsAt = info->bitsAt;
    const int bpp = layout.bitsPerPixel;
    picture.colours.assign(static_cast<size_t>(entries), {});
    for (size_t i = 0; i < picture.colours.size(); ++i) {
        const uint8_t* q = dib + bitsAt - entries * 4 + 4 * i;
        picture.colours[i] = { q[0], q[1], q[2], 0 };
    }
    gdi::DibView& view = picture.view;
    view.width = layout.width;
    view.height = layout.height;
    view.bitsPerPixel = bpp;
    view.palette = picture.colours.data();
    view.paletteEntries = picture.colours.size();
    view.bits = dib + bitsAt;
    view.bitsSize = static_cast<size_t>(size - bitsAt);
    if (!DrawnAsStored(layout) && !DecodeDibBits(layout, view.bits, view.bitsSize, picture))
        return false;
    return view.IsValid();
}

Bytes JoinedDib(const Params& p, uint32_t headerAt, uint32_t headerSize, uint32_t bitsAt, uint32_t bitsSize)
{
    if (headerAt < emr::kRecordHead || bitsAt < emr::kRecordHead)
        return {};
    const uint8_t* header = p.Bytes(headerAt - emr::kRecordHead, headerSize);
    const uint8_t* bits = p.Bytes(bitsAt - emr::kRecordHead, bitsSize);
    // The header block may be longer than the header, masks and colours it holds: what lies after
    // them is left out, so that the bits follow the colours at once.
    const auto info = ReadInfo(header, headerSize);
    Bytes dib(header, header + (info && info->bitsAt < headerSize ? info->bitsAt : headerSize));
    dib.insert(dib.end(), bits, bits + bitsSize);
    return dib;
}

Bytes MonoBrushDib(
    const Params& p, uint32_t headerAt, uint32_t headerSize, uint32_t bitsAt, uint32_t bitsSize)
{
    Bytes dib = JoinedDib(p, headerAt, headerSize, bitsAt, bitsSize);
    constexpr size_t kUsed = 32;
    if (headerSize < 40 || dib.size() < headerSize || headerSize != Get32(dib.data()))
        return dib;
    // Two entries, black and white, and the header counting them.
    dib.insert(dib.begin() + headerSize, { 0, 0, 0, 0, 255, 255, 255, 0 });
    for (size_t i = 0; i < 4; ++i)
        dib[kUsed + i] = i == 0 ? 2 : 0;
    return dib;
}

Bytes Bitmap16Dib(const Params& p, size_t offset, size_t bitsAt)
{
    const int width = p.I16(offset + 2);
    const int height = p.I16(offset + 4);
    const int rowBytes = p.I16(offset + 6);
    const int bpp = p.U8(offset + 9);
    if (width <= 0 || height <= 0 || (bpp != 1 && bpp != 24 && bpp != 32)
        || int64_t(rowBytes) * 8 < int64_t(width) * bpp)
        return {};
    const uint8_t* rows = p.Bytes(bitsAt, uint64_t(rowBytes) * uint64_t(height));
    const uint64_t dibRow = gdi::DibView::RowBytes(width, bpp);
    Bytes dib;
    for (const uint32_t v :
        { 40u, uint32_t(width), uint32_t(-height), 1u | (uint32_t(bpp) << 16), 0u, 0u, 0u, 0u, 0u, 0u })
        Put32(dib, v);
    if (bpp == 1) {
        Put32(dib, 0);
        Put32(dib, 0x00FFFFFF);
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rows + size_t(y) * size_t(rowBytes);
        dib.insert(dib.end(), row, row + std::min<uint64_t>(dibRow, uint64_t(rowBytes)));
        dib.resize(dib.size() + size_t(dibRow - std::min<uint64_t>(dibRow, uint64_t(rowBytes))), 0);
    }
    return dib;
}

bool KeepScanLines(Bytes& dib, uint32_t scans)
{
    if (dib.size() < 40 || scans == 0 || scans > uint32_t(INT32_MAX))
        return false;
    const bool topDown = static_cast<int8_t>(dib[11]) < 0;
    const uint32_t height = topDown ? uint32_t(-int64_t(scans)) : scans;
    for (size_t i = 0; i < 4; ++i)
        dib[8 + i] = uint8_t(height >> (8 * i));
    return true;
}

std::shared_ptr<const Pattern> PatternOf(const uint8_t* dib, uint64_t size, bool monochrome)
{
    DibPicture picture;
    if (!ReadDib(dib, size, picture))
        return nullptr;
    gdi::DibView& view = picture.view;
    if (monochrome && view.bitsPerPixel == 1) {
        // The bits, whatever colours the table gives them: 0 black, 1 white.
        picture.colours = { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } };
        view.palette = picture.colours.data();
        view.paletteEntries = picture.colours.size();
    }
    const int64_t rows = static_cast<int64_t>(view.Rows());
    if (int64_t(view.width) * rows > kMaxPatternPixels)
        return nullptr;
    auto pattern = std::make_shared<Pattern>();
    pattern->width = view.width;
    pattern->height = static_cast<int>(rows);
    for (int64_t y = 0; y < rows; ++y)
        for (int x = 0; x < view.width; ++x)
            pattern->pixels.push_back(view.PixelColor(uint64_t(x), uint64_t(y)));
    return pattern;
}

} // namespace metafile
