// The picture's brushes: the dodge brush that lightens a feathered disc.
#include "imaging/io/PLTextException.h"
#include "imaging/wrapper/DeviceIndepBitmapBrush.h"

#include <algorithm>
#include <cmath>

#include "imaging/bitmap/PLWinBmp.h"

namespace Pellimar {

DeviceIndepBitmap::DodgeBrush* DeviceIndepBitmap::AddDodgeBrush(
    int16_t radius, int16_t featherPercent, int16_t strength)
{
    m_Brushes.push_back(std::make_unique<DodgeBrush>(*this, radius, featherPercent, strength));
    return static_cast<DodgeBrush*>(m_Brushes.back().get());
}

DeviceIndepBitmap::Brush::Brush(
    DeviceIndepBitmap& target, int16_t radius, int16_t featherPercent, int16_t strength)
    : m_Target(target)
    , m_Radius(radius)
    , m_FeatherPercent(featherPercent)
    , m_Strength(strength)
{
}

DeviceIndepBitmap::DodgeBrush::DodgeBrush(
    DeviceIndepBitmap& target, int16_t radius, int16_t featherPercent, int16_t strength)
    : Brush(target, radius, featherPercent, strength)
{
    FitCapToPicture();
}

void DeviceIndepBitmap::DodgeBrush::FitCapToPicture()
{
    const PLCoord size = m_Target.GetSize();
    if (size == m_CapSize)
        return;
    m_Cap.assign(static_cast<size_t>(size.x) * static_cast<size_t>(size.y), 0.0f);
    m_CapSize = size;
}

std::vector<float> DeviceIndepBitmap::DodgeBrush::Profile() const
{
    const float feather = static_cast<float>(m_FeatherPercent) * static_cast<float>(m_Radius) / 100.0f;
    const int32_t inner = m_Radius - static_cast<int32_t>(feather);
    std::vector<float> profile(static_cast<size_t>(std::max<int32_t>(m_Radius, 0)));
    for (int32_t d = 0; d < m_Radius; ++d) {
        const float full = static_cast<float>(m_Strength);
        const float value = d <= inner ? full : full * (1.0f - static_cast<float>(d - inner) / feather);
        profile[static_cast<size_t>(d)] = std::max(value, 0.0f);
    }
    return profile;
}

bool DeviceIndepBitmap::DodgeBrush::Apply(int32_t x, int32_t y)
{
    if (!m_Target.m_pBitmap || m_Radius <= 0)
        return true;
    PLWinBmp* bmp = m_Target.m_pBitmap.get();
    const int bpp = bmp->GetBitsPerPixel();
    if (bpp != 24 && bpp != 32)
        return m_Target.Refuse("The dodge brush needs a 24- or 32-bpp picture.");
    try {
        bmp = &m_Target.OwnBitmap(); // the brush paints pixels of the picture's own
    } catch (const PLTextException& e) {
        m_Target.ResultFromException(e);
        return false;
    }
    FitCapToPicture();
    const std::vector<float> profile = Profile();
    const int64_t radius = m_Radius;
    const int64_t width = m_CapSize.x;
    const size_t step = static_cast<size_t>(bpp / 8);
    PLBmpLock lock(*bmp, true, true);
    for (int64_t row = std::max<int64_t>(0, y - radius); row < std::min<int64_t>(m_CapSize.y, y + radius);
         ++row) {
        uint8_t* line = bmp->GetRow(static_cast<int>(row));
        for (int64_t col = std::max<int64_t>(0, x - radius); col < std::min<int64_t>(width, x + radius);
             ++col) {
            const int64_t dx = col - x;
            const int64_t dy = row - y;
            const auto d = static_cast<int64_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
            if (d >= radius)
                continue;
            float& cap = m_Cap[static_cast<size_t>(row * width + col)];
            const float wanted = profile[static_cast<size_t>(d)];
            if (cap >= wanted)
                continue;
            const float factor = (wanted - cap) / 100.0f + 1.0f;
            cap = wanted;
            uint8_t* pixel = line + static_cast<size_t>(col) * step;
            for (size_t channel = 0; channel < 3; ++channel)
                pixel[channel] = static_cast<uint8_t>(std::min(255.0f, std::trunc(pixel[channel] * factor)));
        }
    }
    m_Target.m_bModified = true;
    m_Target.NotePixelChange();
    return true;
}

} // namespace Pellimar
