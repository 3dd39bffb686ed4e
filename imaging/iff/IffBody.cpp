#include "imaging/iff/IffBody.h"

#include "imaging/bitmap/PLBmp.h"
#include "imaging/codec/PackBits.h"

#include <algorithm>
#include <span>

namespace iff {
namespace {

// A hold-and-modify component from its data bits: the data in the high bits of the byte. With eight
// planes (six data bits) the top bits are repeated below them, so that the full value gives 255.
uint8_t HamComponent(uint32_t data, int dataBits)
{
    const uint32_t high = data << (8 - dataBits);
    return static_cast<uint8_t>(dataBits == 6 ? high | (data >> 4) : high);
}

void StoreHoldAndModify(const std::vector<uint32_t>& values, const Form& form, PLPixel32* row)
{
    const int dataBits = form.header.planes - 2;
    const uint32_t dataMask = (1u << dataBits) - 1;
    PLPixel32 previous(0, 0, 0, 255);
    for (size_t x = 0; x < values.size(); ++x) {
        const uint32_t data = values[x] & dataMask;
        const uint8_t component = HamComponent(data, dataBits);
        switch (values[x] >> dataBits) {
        case 0:
            previous = form.palette[data];
            break;
        case 1:
            previous.SetB(component);
            break;
        case 2:
            previous.SetR(component);
            break;
        default:
            previous.SetG(component);
            break;
        }
        row[x] = previous;
    }
}

void StoreDeep(const std::vector<uint32_t>& values, const Form& form, PLPixel32* row)
{
    const bool alpha = form.header.planes == 32;
    for (size_t x = 0; x < values.size(); ++x) {
        const uint32_t v = values[x];
        row[x].Set(uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), alpha ? uint8_t(v >> 24) : 255);
    }
}

void StoreTransparent(const std::vector<uint32_t>& values, const Form& form, PLPixel32* row)
{
    for (size_t x = 0; x < values.size(); ++x) {
        PLPixel32 colour = form.palette[values[x] & 0xFF];
        colour.SetA(values[x] == form.header.transparentColour ? 0 : 255);
        row[x] = colour;
    }
}

} // namespace

BodyRows::BodyRows(PLBigEndianReader& reader, const Form& form)
    : m_body(reader.ReadBytes(form.bodyLength))
    , m_size(form.bodyLength)
    , m_compressed(form.header.compression == 1)
    , m_row(static_cast<size_t>(form.RowBytes()))
{
}

const std::vector<uint8_t>& BodyRows::Next()
{
    const std::span<const uint8_t> rest(m_body + m_position, static_cast<size_t>(m_size - m_position));
    if (m_compressed) {
        m_position += static_cast<int64_t>(packbits::Expand(rest, m_row));
        return m_row;
    }
    const size_t n = std::min(m_row.size(), rest.size());
    std::copy_n(rest.begin(), n, m_row.begin());
    std::fill(m_row.begin() + static_cast<std::ptrdiff_t>(n), m_row.end(), uint8_t(0));
    m_position += static_cast<int64_t>(n);
    return m_row;
}

void PixelValues(const std::vector<uint8_t>& row, const Form& form, std::vector<uint32_t>& values)
{
    const size_t width = form.header.width;
    values.assign(width, 0);
    if (form.chunky) {
        std::copy_n(row.begin(), width, values.begin());
        return;
    }
    const size_t planeBytes = static_cast<size_t>(form.PlaneBytes());
    for (size_t j = 0; j < form.header.planes; ++j) {
        const uint8_t* plane = row.data() + j * planeBytes;
        for (size_t x = 0; x < width; ++x)
            values[x] |= uint32_t((plane[x / 8] >> (7 - x % 8)) & 1) << j;
    }
}

void StoreRow(const std::vector<uint32_t>& values, const Form& form, PLBmp& bmp, int y)
{
    if (form.header.planes > 8)
        StoreDeep(values, form, bmp.GetRow32(y));
    else if (form.HoldAndModify())
        StoreHoldAndModify(values, form, bmp.GetRow32(y));
    else if (form.header.masking == uint8_t(Masking::TransparentColour))
        StoreTransparent(values, form, bmp.GetRow32(y));
    else
        std::transform(values.begin(), values.end(), bmp.GetRow(y), [](uint32_t v) { return uint8_t(v); });
}

} // namespace iff
