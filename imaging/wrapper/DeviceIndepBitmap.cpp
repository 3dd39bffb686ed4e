#include "imaging/wrapper/DeviceIndepBitmap.h"

#include <atomic>

#include "imaging/bitmap/PLWinBmp.h"
#include "imaging/exif/ExifData.h"
#include "imaging/filters/PLFilterCrop.h"
#include "imaging/filters/PLFilterResize.h"
#include "imaging/filters/PLFilterRotate.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "imaging/resize/FitWithinBox.h"
#include "imaging/wrapper/AspectCrop.h"
#include "imaging/wrapper/DeviceIndepBitmapBrush.h"
#include "imaging/wrapper/ImageErrorTable.h"
#include "platform/win/IntArithmetic.h"

namespace Pellimar {

DeviceIndepBitmap::DeviceIndepBitmap() = default;

DeviceIndepBitmap::DeviceIndepBitmap(const DeviceIndepBitmap& other)
{
    CopyFrom(other);
}

DeviceIndepBitmap& DeviceIndepBitmap::operator=(const DeviceIndepBitmap& other)
{
    CopyFrom(other);
    return *this;
}

DeviceIndepBitmap::~DeviceIndepBitmap() = default;

bool DeviceIndepBitmap::CopyFrom(const DeviceIndepBitmap& other)
{
    if (this == &other)
        return true;
    NotePixelChange();
    try {
        m_pBitmap = other.m_pBitmap; // shared until either picture changes
        if (other.m_pExif) {
            if (!m_pExif)
                m_pExif = std::make_unique<ExifData>();
            *m_pExif = *other.m_pExif;
        } else {
            m_pExif.reset();
        }
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    m_JpegQuality = other.m_JpegQuality;
    m_FileType = other.m_FileType;
    m_LoadState = other.m_LoadState;
    m_bBusy = other.m_bBusy;
    m_QuarterTurns = other.m_QuarterTurns;
    m_DecodeScale = other.m_DecodeScale;
    m_LastErrorText = other.m_LastErrorText;
    m_LastSeverity = other.m_LastSeverity;
    m_LastCode = other.m_LastCode;
    m_bModified = true;
    return true;
}

ImageResult DeviceIndepBitmap::LoadJpegWithExif(
    const std::string& path, PLJPEGDecoder& decoder, int32_t maxW, int32_t maxH)
{
    if (!m_pExif)
        m_pExif = std::make_unique<ExifData>();
    m_FileType = kJpegFile;
    const ImageResult result = DecodeFile(path, decoder, maxW, maxH, [&] { decoder.GetExifData(*m_pExif); });
    if (result.severity == 0)
        m_DecodeScale = decoder.GetScale();
    return result;
}

void DeviceIndepBitmap::ShrinkToBox(int32_t maxW, int32_t maxH)
{
    const PLCoord size = GetSize();
    if (maxW > 0 && maxH > 0 && (size.x > maxW || size.y > maxH)) {
        const win::SIZE fitted = FitWithinBox(size.x, size.y, maxW, maxH);
        m_pBitmap->ApplyFilter(PLFilterResizeBilinear(fitted.cx, fitted.cy));
    }
}

void DeviceIndepBitmap::Reset(bool full)
{
    NotePixelChange();
    m_pBitmap.reset();
    m_pExif.reset();
    m_Brushes.clear();
    m_DecodeScale = 1;
    if (!full)
        return;
    ClearLastError();
    m_LoadState = kNotLoaded;
    m_bBusy = false;
    m_FileType = 0;
    m_QuarterTurns = 0;
}

void DeviceIndepBitmap::Lock()
{
    std::atomic_ref<bool> busy(m_bBusy);
    bool expected = false;
    while (!busy.compare_exchange_weak(expected, true, std::memory_order_acquire)) {
        busy.wait(true, std::memory_order_relaxed);
        expected = false;
    }
}

void DeviceIndepBitmap::Unlock()
{
    std::atomic_ref<bool> busy(m_bBusy);
    busy.store(false, std::memory_order_release);
    busy.notify_all();
}

void DeviceIndepBitmap::SetLoadState(int32_t state)
{
    m_LoadState = state;
    if (state != 0) {
        NotePixelChange();
        m_pBitmap.reset();
        m_pExif.reset();
    }
}

void DeviceIndepBitmap::ClearLastError()
{
    m_LastErrorText.clear();
    m_LastSeverity = 0;
    m_LastCode = 0;
}

ImageResult DeviceIndepBitmap::ResultFromException(const PLTextException& e)
{
    ImageResult result = ImageResultFromException(e);
    m_LastErrorText = result.message;
    m_LastSeverity = result.severity;
    m_LastCode = result.code;
    return result;
}

PLCoord DeviceIndepBitmap::GetSize() const
{
    return m_pBitmap ? m_pBitmap->GetSize() : PLCoord(0, 0);
}

bool DeviceIndepBitmap::IsLandscape() const
{
    const PLCoord size = GetSize();
    return size.y < size.x;
}

PLWinBmp& DeviceIndepBitmap::OwnBitmap()
{
    if (SharesPixels()) {
        auto own = std::make_shared<PLWinBmp>();
        own->CreateCopy(*m_pBitmap, 0);
        m_pBitmap = std::move(own);
    }
    return *m_pBitmap;
}

bool DeviceIndepBitmap::ApplyFilter(const PLFilter& filter)
{
    NotePixelChange();
    try {
        if (SharesPixels()) {
            // The result goes straight into pixels of this picture's own: a crop of shared pixels
            // copies only the part it keeps.
            auto own = std::make_shared<PLWinBmp>();
            own->CreateFilteredCopy(*m_pBitmap, filter);
            m_pBitmap = std::move(own);
        } else {
            m_pBitmap->ApplyFilter(filter);
        }
    } catch (const PLTextException& e) {
        ResultFromException(e);
        return false;
    }
    m_bModified = true;
    return true;
}

bool DeviceIndepBitmap::Crop(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!m_pBitmap)
        return true;
    const PLCoord size = GetSize();
    if (x1 < 0 || x1 > x2 || x2 > size.x || y1 < 0 || y1 > y2 || y2 > size.y)
        return true;
    return ApplyFilter(PLFilterCrop(x1, y1, x2, y2));
}

win::RECT DeviceIndepBitmap::CropToAspect(double a, double b, int32_t marginPercent, int32_t yOffsetPercent,
    int32_t xOffsetPercent, bool noApply, bool force)
{
    const PLCoord size = GetSize();
    const std::optional<win::RECT> rect
        = ComputeAspectCrop(size.x, size.y, { a, b, marginPercent, yOffsetPercent, xOffsetPercent, force });
    if (!rect)
        return { 0, 0, size.x, size.y };
    if (!noApply)
        Crop(rect->left, rect->top, rect->right, rect->bottom);
    return *rect;
}

bool DeviceIndepBitmap::Rotate(int32_t t)
{
    if (!m_pBitmap)
        return true;
    const int32_t turns = win::NormalQuarterTurns(t);
    // One, two and three clockwise quarter turns are the rotate filter's modes 0, 1 and 2.
    if (turns != 0 && !ApplyFilter(PLFilterRotate(turns - 1)))
        return false;
    m_QuarterTurns = win::NormalQuarterTurns(m_QuarterTurns + turns);
    m_bModified = true;
    return true;
}

bool DeviceIndepBitmap::RotateToOrientation(int32_t state)
{
    if (!m_pBitmap)
        return true;
    // The state is reduced first, so that no state, however far out of 0 to 3, overflows here.
    const int32_t target = win::NormalQuarterTurns(state);
    const int32_t turns = win::NormalQuarterTurns(target - m_QuarterTurns);
    if (turns != 0 && !Rotate(turns))
        return false;
    m_QuarterTurns = target;
    m_bModified = true;
    return true;
}

} // namespace Pellimar
