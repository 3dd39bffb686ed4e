// The picture's colour, tone and geometric editing operations, each one filter applied in place.
#include "imaging/wrapper/DeviceIndepBitmap.h"

#include "imaging/bitmap/PLAnyBmp.h"
#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/filters/PLFilterColor.h"
#include "imaging/filters/PLFilterContrast.h"
#include "imaging/filters/PLFilterFill.h"
#include "imaging/filters/PLFilterFlip.h"
#include "imaging/filters/PLFilterGrayscale.h"
#include "imaging/filters/PLFilterHSB.h"
#include "imaging/filters/PLFilterJoin.h"
#include "imaging/filters/PLFilterLightnessPercent.h"
#include "imaging/filters/PLFilterMirror.h"
#include "imaging/filters/PLFilterWatermark.h"
#include "imaging/filters/PLFilterWhiteBalance.h"
#include "imaging/io/PLTextException.h"

namespace Pellimar {

namespace {

// The contrast filter's factor for the wrapper's contrast value (real arithmetic: c^2 overflows
// 32 bits for large values).
double ContrastFactor(int32_t contrast)
{
    const double squared = static_cast<double>(contrast) * contrast;
    return contrast < 0 ? 1000.0 / (squared + 1000.0) : squared / 1000.0 + 1.0;
}

} // namespace

bool DeviceIndepBitmap::Refuse(const char* text)
{
    ResultFromException(PLTextException(PL_ERR_FORMAT_NOT_SUPPORTED, text));
    return false;
}

bool DeviceIndepBitmap::KeepLastErrorOf(const DeviceIndepBitmap& other)
{
    m_LastErrorText = other.m_LastErrorText;
    m_LastSeverity = other.m_LastSeverity;
    m_LastCode = other.m_LastCode;
    return false;
}

bool DeviceIndepBitmap::ApplyColor(int32_t red, int32_t green, int32_t blue, bool balanced)
{
    if (!m_pBitmap || (red == 0 && green == 0 && blue == 0))
        return true;
    return ApplyFilter(PLFilterColor(red, green, blue, balanced));
}

bool DeviceIndepBitmap::ApplyHSB(int32_t hue, int32_t saturation, int32_t brightness)
{
    if (!m_pBitmap || (hue == 0 && saturation == 0 && brightness == 0))
        return true;
    return ApplyFilter(PLFilterHSB(hue, saturation, brightness));
}

bool DeviceIndepBitmap::ApplyContrast(int32_t contrast)
{
    if (!m_pBitmap || contrast == 0)
        return true;
    return ApplyFilter(PLFilterContrast(ContrastFactor(contrast), 128));
}

bool DeviceIndepBitmap::ApplyLightness(int32_t amount, bool additive)
{
    if (!m_pBitmap || amount == 0)
        return true;
    return ApplyFilter(PLFilterLightnessPercent(amount, additive));
}

bool DeviceIndepBitmap::Mirror()
{
    return !m_pBitmap || ApplyFilter(PLFilterMirror());
}

bool DeviceIndepBitmap::Flip()
{
    return !m_pBitmap || ApplyFilter(PLFilterFlip());
}

bool DeviceIndepBitmap::Join(int32_t mode, const DeviceIndepBitmap& other)
{
    if (!m_pBitmap || !other.m_pBitmap)
        return true;
    return ApplyFilter(PLFilterJoin(mode, other.m_pBitmap.get()));
}

bool DeviceIndepBitmap::ApplyWatermark(const DeviceIndepBitmap& watermark, int32_t divisor)
{
    if (!m_pBitmap)
        return true;
    // The filter takes the divisor unsigned: a negative one would darken by almost nothing.
    if (divisor <= 0)
        return Refuse("The watermark divisor must be above 0.");
    if (!watermark.m_pBitmap)
        return Refuse("The watermark has no picture.");
    return ApplyFilter(PLFilterWatermark(divisor, watermark.m_pBitmap.get()));
}

bool DeviceIndepBitmap::ApplyWhiteBalance(int32_t x, int32_t y, int32_t tonalRange)
{
    if (!m_pBitmap)
        return true;
    const PLCoord size = GetSize();
    if (x < 0 || x >= size.x || y < 0 || y >= size.y)
        return Refuse("The grey point lies outside the picture.");
    return ApplyFilter(PLFilterWhiteBalance(PLCoord(x, y), tonalRange));
}

bool DeviceIndepBitmap::Fill(win::COLORREF colour)
{
    if (!m_pBitmap)
        return true;
    const PLPixel32 pixel(win::GetRValue(colour), win::GetGValue(colour), win::GetBValue(colour), 255);
    return ApplyFilter(PLFilterFill<PLPixel32>(pixel));
}

bool DeviceIndepBitmap::MakeGrayscale()
{
    if (!m_pBitmap)
        return true;
    if (m_pBitmap->GetBitsPerPixel() != 32)
        return Refuse("The grey conversion needs a 32-bpp picture.");
    if (!ApplyLightness(15, true) || !ApplyContrast(15))
        return false;
    NotePixelChange();
    try {
        PLAnyBmp grey;
        PLFilterGrayscale().Apply(m_pBitmap.get(), &grey);
        auto own = std::make_shared<PLWinBmp>();
        own->CreateCopy(grey, 32);
        m_pBitmap = std::move(own);
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    m_bModified = true;
    return true;
}

bool DeviceIndepBitmap::Rotate(const ImageProcessingSettings& settings)
{
    return Rotate(settings.quarterTurns);
}

bool DeviceIndepBitmap::Crop(const ImageProcessingSettings& settings)
{
    return Crop(settings.x1, settings.y1, settings.x2, settings.y2);
}

bool DeviceIndepBitmap::ApplyLightness(const ImageProcessingSettings& settings)
{
    return ApplyLightness(settings.lightness, settings.additive);
}

bool DeviceIndepBitmap::ApplyColor(const ImageProcessingSettings& settings)
{
    return ApplyColor(settings.red, settings.green, settings.blue, settings.balanced);
}

bool DeviceIndepBitmap::ApplyHSB(const ImageProcessingSettings& settings)
{
    return ApplyHSB(settings.hue, settings.saturation, settings.brightness);
}

bool DeviceIndepBitmap::ApplyContrast(const ImageProcessingSettings& settings)
{
    return ApplyContrast(settings.contrast);
}

bool DeviceIndepBitmap::ApplyWhiteBalance(const ImageProcessingSettings& settings)
{
    return ApplyWhiteBalance(settings.whiteBalanceX, settings.whiteBalanceY, settings.tonalRange);
}

bool DeviceIndepBitmap::Fill(const ImageProcessingSettings& settings)
{
    return Fill(settings.fillColour);
}

bool DeviceIndepBitmap::Mirror(const ImageProcessingSettings&)
{
    return Mirror();
}

bool DeviceIndepBitmap::Flip(const ImageProcessingSettings&)
{
    return Flip();
}

bool DeviceIndepBitmap::MakeGrayscale(const ImageProcessingSettings&)
{
    return MakeGrayscale();
}

} // namespace Pellimar
