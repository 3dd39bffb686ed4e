#include "imaging/metafile/MetafileDibBits.h"

#include "imaging/raster/BmpRle.h"
#include "imaging/raster/BmpRows.h"

namespace metafile {
namespace {

// A run-length picture larger than this is not drawn: a few bytes of runs and deltas could
// otherwise ask for any size.
constexpr int64_t kMaxRunLengthPixels = int64_t(1) << 22;

bool StandardMasks(const bmpbits::Masks& m)
{
    return m.red == 0xFF0000 && m.green == 0xFF00 && m.blue == 0xFF;
}

uint64_t Rows(const DibLayout& layout)
{
    return layout.height < 0 ? uint64_t(-int64_t(layout.height)) : uint64_t(layout.height);
}

void ShowPixels(DibPicture& picture, int bitsPerPixel)
{
    picture.view.bitsPerPixel = bitsPerPixel;
    picture.view.bits = picture.pixels.data();
    picture.view.bitsSize = picture.pixels.size();
}

bool DecodeRows(const DibLayout& layout, const uint8_t* bits, uint64_t size, DibPicture& picture)
{
    const int bpp = layout.bitsPerPixel;
    const uint64_t rows = Rows(layout);
    const uint64_t rowBytes = gdi::DibView::RowBytes(layout.width, bpp);
    if (rows > size / rowBytes)
        return false;
    const int outBpp = bpp == 4 ? 8 : 32;
    const uint64_t outRowBytes = gdi::DibView::RowBytes(layout.width, outBpp);
    picture.pixels.assign(static_cast<size_t>(rows * outRowBytes), 0);
    const bool bitFields = layout.compression == kDibBitFields;
    const bmprows::Layout16 layout16 = bmprows::LayoutOf16(bitFields, layout.masks);
    for (uint64_t i = 0; i < rows; ++i) {
        const uint8_t* row = bits + i * rowBytes;
        uint8_t* out = picture.pixels.data() + i * outRowBytes;
        auto* pixels = reinterpret_cast<PLPixel32*>(out);
        if (bpp == 4)
            bmprows::IndexRow(row, out, layout.width, 4);
        else if (bpp == 16)
            bmprows::Row16(row, pixels, layout.width, layout16, layout.masks);
        else
            bmpbits::DecodeRow(row, pixels, layout.width, 4, layout.masks);
    }
    ShowPixels(picture, outBpp);
    return true;
}

// Reads the runs from the bits and puts each pixel written, in its palette colour, into the
// picture's 32-bit rows; the pixels left out stay transparent.
class RunTarget : public bmprle::RleTarget {
public:
    RunTarget(const uint8_t* bits, uint64_t size, DibPicture& picture, int32_t width)
        : m_bits(bits)
        , m_size(size)
        , m_picture(picture)
        , m_line(static_cast<size_t>(width))
        , m_width(width)
    {
    }
    const uint8_t* Next(int64_t n) override
    {
        if (uint64_t(n) > m_size - m_at)
            return nullptr;
        const uint8_t* bytes = m_bits + m_at;
        m_at += uint64_t(n);
        return bytes;
    }
    uint8_t* Row(int64_t) override { return m_line.data(); }
    void Wrote(int64_t storedRow, int64_t x, int64_t count) override
    {
        const auto& colours = m_picture.colours;
        auto* out = reinterpret_cast<PLPixel32*>(m_picture.pixels.data()) + storedRow * m_width;
        for (int64_t i = x; i < x + count; ++i) {
            const uint8_t index = m_line[static_cast<size_t>(i)];
            const gdi::RGBQUAD c = index < colours.size() ? colours[index] : gdi::RGBQUAD {};
            out[i].Set(c.rgbRed, c.rgbGreen, c.rgbBlue, 255);
        }
    }

private:
    const uint8_t* m_bits;
    uint64_t m_size;
    uint64_t m_at = 0;
    DibPicture& m_picture;
    std::vector<uint8_t> m_line;
    int64_t m_width;
};

bool DecodeRuns(const DibLayout& layout, const uint8_t* bits, uint64_t size, DibPicture& picture)
{
    const uint64_t rows = Rows(layout);
    if (uint64_t(layout.width) * rows > uint64_t(kMaxRunLengthPixels))
        return false;
    picture.pixels.assign(static_cast<size_t>(uint64_t(layout.width) * rows * 4), 0);
    RunTarget target(bits, size, picture, layout.width);
    bmprle::DecodeRle(target, layout.width, int64_t(rows), layout.compression == kDibRle4, true);
    ShowPixels(picture, 32);
    picture.sparse = true;
    return true;
}

} // namespace

bool DrawnAsStored(const DibLayout& layout)
{
    const int bpp = layout.bitsPerPixel;
    if (layout.compression == kDibRgb)
        return bpp == 1 || bpp == 8 || bpp == 24 || bpp == 32;
    return layout.compression == kDibBitFields && bpp == 32 && StandardMasks(layout.masks);
}

bool DecodeDibBits(const DibLayout& layout, const uint8_t* bits, uint64_t size, DibPicture& picture)
{
    const int bpp = layout.bitsPerPixel;
    switch (layout.compression) {
    case kDibRgb:
        return (bpp == 4 || bpp == 16) && DecodeRows(layout, bits, size, picture);
    case kDibBitFields:
        return (bpp == 16 || bpp == 32) && DecodeRows(layout, bits, size, picture);
    case kDibRle8:
    case kDibRle4:
        return bpp == (layout.compression == kDibRle8 ? 8 : 4) && DecodeRuns(layout, bits, size, picture);
    default:
        return false;
    }
}

} // namespace metafile
