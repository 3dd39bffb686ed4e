// Brushes that paint a picture locally, one stroke at a point at a time. A brush belongs to the
// picture it paints (DeviceIndepBitmap::AddDodgeBrush) and lives until that picture is reset.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/bitmap/PLCoord.h"
#include "imaging/wrapper/DeviceIndepBitmap.h"

namespace Pellimar {

class DeviceIndepBitmap::Brush {
public:
    Brush(DeviceIndepBitmap& target, int16_t radius, int16_t featherPercent, int16_t strength);
    Brush(const Brush&) = delete;
    Brush& operator=(const Brush&) = delete;
    virtual ~Brush() = default;

    // One stroke centred on the pixel (x, y), row 0 at the top. Without a picture nothing happens
    // and the result is true; a picture the brush cannot paint gives false with the failure as the
    // picture's last error.
    virtual bool Apply(int32_t x, int32_t y) = 0;

    int16_t GetRadius() const { return m_Radius; }
    int16_t GetFeatherPercent() const { return m_FeatherPercent; }
    int16_t GetStrength() const { return m_Strength; }

protected:
    DeviceIndepBitmap& m_Target;
    int16_t m_Radius;
    int16_t m_FeatherPercent;
    int16_t m_Strength;
};

// Lightens the 24- or 32-bpp picture in a disc of the radius by up to the strength in percent,
// fully inside, fading to nothing across the outer feather percent of the radius. Every pixel
// remembers how much it has been lightened (its cap), so that repeated strokes lighten it at most
// by the strength in all.
class DeviceIndepBitmap::DodgeBrush : public DeviceIndepBitmap::Brush {
public:
    DodgeBrush(DeviceIndepBitmap& target, int16_t radius, int16_t featherPercent, int16_t strength);

    bool Apply(int32_t x, int32_t y) override;

private:
    // The lightening in percent at each whole distance 0 .. radius - 1 from the centre.
    std::vector<float> Profile() const;
    // Makes the cap buffer one cell a pixel of the picture as it is now, all 0, when its size
    // differs (the picture was resized or replaced since the last stroke).
    void FitCapToPicture();

    std::vector<float> m_Cap; // rows of columns
    PLCoord m_CapSize;
};

} // namespace Pellimar
