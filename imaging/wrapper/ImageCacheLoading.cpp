#include "imaging/wrapper/ImageCacheLoading.h"

#include <filesystem>

#include "imaging/exif/ExifData.h"
#include "imaging/io/PLTextException.h"
#include "imaging/jpeg/PLJPEGDecoder.h"
#include "platform/win/IntArithmetic.h"

using Pellimar::DeviceIndepBitmap;

namespace {

constexpr win::DWORD kWaitLimitMs = 20000; // for a file to settle, and for retried decodes
constexpr win::DWORD kSettleLookMs = 500;
constexpr win::DWORD kRetryMs = 250;
constexpr int32_t kRetrySeverity = 5;

ImageResult OutOfMemory(DeviceIndepBitmap& picture)
{
    return picture.ResultFromException(PLTextException(PL_ERR_NO_MEMORY, "Out of memory creating bitmap."));
}

// The file's size, or nothing when it is missing or not a regular file.
std::optional<uintmax_t> SizeOfFile(const std::string& name)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(name, ec))
        return std::nullopt;
    const uintmax_t size = std::filesystem::file_size(name, ec);
    if (ec)
        return std::nullopt;
    return size;
}

// Waits until the file's size is above 0 and unchanged between two looks, 500 ms apart. A probe
// takes its second look at once, so that a settled file answers without delay, and pauses only
// from the third look on: a file that keeps changing never makes it spin. False, with status and
// result set, when the file is missing or keeps changing for more than 20 s.
bool WaitUntilSettled(const MillisecondClock& clock, DeviceIndepBitmap& picture, const std::string& name,
    ImageResult& result, LoadStatus& status, bool probe)
{
    const win::DWORD start = clock.now();
    std::optional<uintmax_t> previous;
    for (int look = 0;; ++look) {
        if (look > (probe ? 1 : 0))
            clock.sleep(kSettleLookMs);
        const std::optional<uintmax_t> size = SizeOfFile(name);
        if (!size) {
            status = LoadStatus::NotFound;
            result = MissingFileResult(picture, name);
            return false;
        }
        if (static_cast<win::DWORD>(clock.now() - start) > kWaitLimitMs) {
            status = LoadStatus::NotSettled;
            result = picture.ResultFromException(PLTextException(
                PL_ERR_END_OF_FILE, (name + " was still being written after 20 seconds.").c_str()));
            return false;
        }
        if (*size > 0 && previous == size)
            return true;
        previous = size;
    }
}

ImageResult Decode(
    ImageCache& cache, DeviceIndepBitmap& picture, const std::string& name, PLJPEGDecoder& decoder)
{
    if (cache.RunsOutOfMemory(CacheStep::Decode))
        return OutOfMemory(picture);
    return picture.LoadJpegWithExif(name, decoder, -1, -1);
}

bool TurnAsAsked(DeviceIndepBitmap& picture, const ImageAdjustments& adjustments)
{
    if (!adjustments.useExifOrientation)
        return picture.RotateToOrientation(adjustments.quarterTurns);
    const ExifData* exif = picture.GetExifData();
    switch (exif ? win::SaturateToInt32(exif->GetTagValue("main.ori")) : 0) {
    case 3:
        return picture.RotateToOrientation(2);
    case 6:
        return picture.RotateToOrientation(1);
    case 8:
        return picture.RotateToOrientation(3);
    default:
        return true;
    }
}

// The adjustment steps in order, stopping at the first failure; the seam may make any step run
// out of memory.
bool RunAdjustments(ImageCache& cache, DeviceIndepBitmap& picture, const ImageAdjustments& a)
{
    const auto step = [&](auto&& apply) {
        if (cache.RunsOutOfMemory(CacheStep::Adjust)) {
            OutOfMemory(picture);
            return false;
        }
        return apply();
    };
    return step([&] { return ApplyImageRotation(cache, picture, a); })
        && step([&] { return picture.ApplyColor(a.red, a.green, a.blue, a.balanced); })
        && step([&] { return picture.ApplyHSB(a.hue, a.saturation, a.brightness); })
        && step([&] { return picture.ApplyContrast(a.contrast); })
        && step([&] { return picture.ApplyLightness(a.lightness, true); });
}

} // namespace

ImageResult MissingFileResult(DeviceIndepBitmap& picture, const std::string& name)
{
    const std::string text = name.empty() ? std::string("No file name was given.") : name;
    return picture.ResultFromException(PLTextException(PL_ERR_FILE_NOT_FOUND, text.c_str()));
}

bool LoadImageIntoSlot(ImageCache& cache, DeviceIndepBitmap& work, const std::string& name,
    ImageResult& result, bool wait, const std::optional<ImageAdjustments>& adjustments, bool probe,
    const ImageCache::Picture& pristine)
{
    LoadStatus status = LoadStatus::Loaded;
    if (!LoadImageFile(cache, work, name, result, wait, status, probe) || probe || result.severity != 0)
        return false;
    if (pristine && !CopyPicture(cache, *pristine, work, work)) {
        result = pristine->GetLastResult();
        return false;
    }
    if (!ApplyImageAdjustments(cache, work, adjustments, pristine.get())) {
        result = work.GetLastResult();
        return false;
    }
    return true;
}

bool LoadImageFile(ImageCache& cache, DeviceIndepBitmap& picture, const std::string& name,
    ImageResult& result, bool wait, LoadStatus& status, bool probe)
{
    // Nothing left over from an earlier failure may decide what happens to this load.
    result = {};
    picture.ClearLastError();
    if (name.empty()) {
        status = LoadStatus::NotFound;
        result = MissingFileResult(picture, name);
        return false;
    }
    const MillisecondClock& clock = cache.GetClock();
    if (wait && !WaitUntilSettled(clock, picture, name, result, status, probe))
        return false;
    if (probe)
        return true;
    PLJPEGDecoder decoder;
    decoder.SetScale(cache.GetDecodeScale(name));
    for (;;) {
        status = LoadStatus::Loaded;
        const win::DWORD start = clock.now();
        result = Decode(cache, picture, name, decoder);
        // A file that is still being written fails to decode until it is complete; only a caller
        // who asked to wait is kept waiting for that.
        while (wait && result.severity == kRetrySeverity && result.code != PL_ERR_NO_MEMORY
            && static_cast<win::DWORD>(clock.now() - start) < kWaitLimitMs) {
            clock.sleep(kRetryMs);
            result = Decode(cache, picture, name, decoder);
        }
        if (result.severity == kRetrySeverity)
            status = LoadStatus::Failed;
        else if (result.severity == 0)
            picture.SetLoadState(0);
        if (result.code != PL_ERR_NO_MEMORY)
            return true;
        const bool purged = cache.Purge(&picture);
        picture.Reset(true);
        if (!purged)
            return true;
    }
}

bool ApplyImageAdjustments(ImageCache& cache, DeviceIndepBitmap& picture,
    const std::optional<ImageAdjustments>& adjustments, const DeviceIndepBitmap* pristine)
{
    if (!adjustments)
        return true;
    while (!RunAdjustments(cache, picture, *adjustments)) {
        // Part of the sequence may have been applied: start again from the picture as loaded.
        if (picture.GetLastResult().code != PL_ERR_NO_MEMORY || !pristine || !cache.Purge(&picture))
            return false;
        picture.ClearLastError();
        if (!CopyPicture(cache, picture, *pristine, picture))
            return false;
    }
    return true;
}

bool ApplyImageRotation(
    ImageCache& cache, DeviceIndepBitmap& picture, const std::optional<ImageAdjustments>& adjustments)
{
    if (!adjustments)
        return true;
    while (!TurnAsAsked(picture, *adjustments)) {
        if (picture.GetLastResult().code != PL_ERR_NO_MEMORY || !cache.Purge(&picture))
            return false;
        picture.ClearLastError();
    }
    return true;
}

bool CopyPicture(ImageCache& cache, DeviceIndepBitmap& target, const DeviceIndepBitmap& source,
    const DeviceIndepBitmap& keep)
{
    for (;;) {
        target.ClearLastError();
        if (cache.RunsOutOfMemory(CacheStep::Copy))
            OutOfMemory(target);
        else if (target.CopyFrom(source))
            return true;
        if (target.GetLastResult().code != PL_ERR_NO_MEMORY || !cache.Purge(&keep))
            return false;
        target.Reset(true);
    }
}
