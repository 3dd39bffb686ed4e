// The picture's size-changing operations: a blank picture, resizing by a settings record, borders
// and a centred crop.
#include "imaging/wrapper/DeviceIndepBitmap.h"

#include <memory>
#include <optional>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterJoin.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/io/PLTextException.h"
#include "imaging/resize/FitWithinBox.h"
#include "platform/win/IntArithmetic.h"

namespace Pellimar {

namespace {

// The share of a side, truncated: side x percent / 100 in 64 bits.
int32_t PercentOf(int32_t side, int32_t percent)
{
    return win::SaturateToInt32(static_cast<int64_t>(side) * percent / 100);
}

// Whether the fitted width is applied in the given mode; nullopt for an unknown mode.
std::optional<bool> ResizeWanted(int32_t mode, int32_t fittedWidth, int32_t width)
{
    switch (mode) {
    case ResizeSettings::ShrinkOnly:
        return fittedWidth < width;
    case ResizeSettings::EnlargeOnly:
        return fittedWidth > width;
    case ResizeSettings::Always:
        return true;
    default:
        return std::nullopt;
    }
}

} // namespace

bool DeviceIndepBitmap::CreateImage(
    int32_t width, int32_t height, int32_t bpp, bool alpha, bool greyscale, int32_t resolution)
{
    return CreateImage(width, height, bpp, alpha, greyscale, PLCoord(resolution, resolution));
}

bool DeviceIndepBitmap::CreateImage(
    int32_t width, int32_t height, int32_t bpp, bool alpha, bool greyscale, const PLCoord& resolution)
{
    // Created aside, so that a refused size or depth leaves the old picture in place.
    auto blank = std::make_unique<PLWinBmp>();
    try {
        blank->Create(width, height, bpp, alpha, greyscale, nullptr, 0, resolution);
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    m_pBitmap = std::move(blank);
    NotePixelChange();
    m_FileType = 0;
    m_bModified = true;
    return true;
}

bool DeviceIndepBitmap::Resize(const ResizeSettings& settings)
{
    if (!m_pBitmap)
        return true;
    if (settings.width < 1 || settings.height < 1)
        return Refuse("The new size must be at least 1 x 1.");
    if (settings.filter < ResizeSettings::Bilinear || settings.filter > ResizeSettings::Hamming)
        return Refuse("Unknown resize filter.");
    const PLCoord size = GetSize();
    int32_t width = settings.width;
    int32_t height = settings.height;
    if (settings.fit) {
        const win::SIZE fitted = FitWithinBox(size.x, size.y, width, height);
        const std::optional<bool> wanted = ResizeWanted(settings.mode, fitted.cx, size.x);
        if (!wanted)
            return Refuse("Unknown resize mode.");
        if (!*wanted)
            return true;
        width = fitted.cx;
        height = fitted.cy;
    }
    switch (settings.filter) {
    case ResizeSettings::Bilinear:
        return ApplyFilter(PLFilterResizeBilinear(width, height));
    case ResizeSettings::Box:
        return ApplyFilter(PLFilterResizeBox(width, height));
    case ResizeSettings::Gaussian:
        return ApplyFilter(PLFilterResizeGaussian(width, height, settings.radius));
    default:
        return ApplyFilter(PLFilterResizeHamming(width, height, settings.radius));
    }
}

// Joins strips of a one-colour blank (blankSize square, stretched to the strip) to the flagged
// sides: sideStrip pixels left and right, endStrip pixels top and bottom (a 0 skips the pair). The
// ends are joined to the picture turned a quarter anticlockwise, then turned back.
bool DeviceIndepBitmap::AddBorders(
    int32_t sideStrip, int32_t endStrip, win::COLORREF colour, uint32_t sides, int32_t blankSize)
{
    const bool wantSides = sideStrip > 0 && (sides & (kBorderLeft | kBorderRight)) != 0;
    const bool wantEnds = endStrip > 0 && (sides & (kBorderTop | kBorderBottom)) != 0;
    if (!wantSides && !wantEnds)
        return true;
    DeviceIndepBitmap strip;
    const PLWinBmp& bmp = *m_pBitmap;
    if (!strip.CreateImage(blankSize, blankSize, bmp.GetBitsPerPixel(), bmp.HasAlpha(), bmp.IsGreyscale(),
            bmp.GetResolution())
        || !strip.Fill(colour))
        return KeepLastErrorOf(strip);
    const auto joinStrips = [&](int32_t width, uint32_t first, uint32_t second) {
        const ResizeSettings stretch { ResizeSettings::Always, ResizeSettings::Bilinear, width, GetSize().y,
            false, 0.0 };
        if (!strip.Resize(stretch))
            return KeepLastErrorOf(strip);
        return ((sides & first) == 0 || Join(PLJOIN_OTHER_LEFT, strip))
            && ((sides & second) == 0 || Join(PLJOIN_OTHER_RIGHT, strip));
    };
    if (wantSides && !joinStrips(sideStrip, kBorderLeft, kBorderRight))
        return false;
    if (wantEnds)
        return Rotate(3) && joinStrips(endStrip, kBorderTop, kBorderBottom) && Rotate(1);
    return true;
}

bool DeviceIndepBitmap::AddBorderPixels(int32_t width, win::COLORREF colour, uint32_t sides)
{
    if (!m_pBitmap)
        return true;
    if (width < 0)
        return Refuse("A border cannot be narrower than 0.");
    return AddBorders(width, width, colour, sides, 1);
}

bool DeviceIndepBitmap::AddBorderPercent(int32_t percent, win::COLORREF colour, uint32_t sides)
{
    if (!m_pBitmap)
        return true;
    if (percent < 0)
        return Refuse("A border cannot be narrower than 0.");
    const PLCoord size = GetSize();
    const int32_t strip = PercentOf(IsLandscape() ? size.x : size.y, percent);
    return AddBorders(strip, strip, colour, sides, 2);
}

bool DeviceIndepBitmap::AddBorderPercentEach(int32_t percent, win::COLORREF colour, uint32_t sides)
{
    if (!m_pBitmap)
        return true;
    if (percent < 0)
        return Refuse("A border cannot be narrower than 0.");
    const PLCoord size = GetSize();
    return AddBorders(PercentOf(size.x, percent), PercentOf(size.y, percent), colour, sides, 2);
}

bool DeviceIndepBitmap::PaintBorderStrips(int32_t width, win::COLORREF colour, uint32_t sides)
{
    if (!m_pBitmap)
        return false;
    if (width < 0)
        return Refuse("A border cannot be narrower than 0.");
    const int step = m_pBitmap->GetBitsPerPixel() / 8;
    if (step != 3 && step != 4)
        return Refuse("Border strips need a 24- or 32-bpp picture.");
    const PLCoord size = GetSize();
    const auto inStrip = [&](int32_t x, int32_t y) {
        return ((sides & kBorderTop) && y < width) || ((sides & kBorderBottom) && y >= size.y - width)
            || ((sides & kBorderLeft) && x < width) || ((sides & kBorderRight) && x >= size.x - width);
    };
    PLWinBmp* bmp = nullptr;
    try {
        bmp = &OwnBitmap();
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    NotePixelChange();
    PLBmpLock lock(*bmp, false, true);
    for (int32_t y = 0; y < size.y; ++y) {
        uint8_t* pixel = bmp->GetRow(y);
        for (int32_t x = 0; x < size.x; ++x, pixel += step) {
            if (!inStrip(x, y))
                continue;
            pixel[0] = win::GetBValue(colour);
            pixel[1] = win::GetGValue(colour);
            pixel[2] = win::GetRValue(colour);
        }
    }
    NotePixelChange();
    m_bModified = true;
    return true;
}

bool DeviceIndepBitmap::CropCentredPercent(int32_t percent)
{
    if (!m_pBitmap)
        return true;
    if (percent < 0 || percent > 100)
        return Refuse("The centred crop takes a percentage from 0 to 100.");
    const PLCoord size = GetSize();
    const int32_t width = PercentOf(size.x, 100 - percent);
    const int32_t height = PercentOf(size.y, 100 - percent);
    const int32_t x1 = (size.x - width) / 2;
    const int32_t y1 = (size.y - height) / 2;
    return Crop(x1, y1, x1 + width, y1 + height);
}

} // namespace Pellimar
