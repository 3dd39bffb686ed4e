// How the image cache fills a slot: waiting for a file that is still being written, decoding it
// with retries, keeping the picture as loaded, and applying the requested adjustments, giving up
// free slots of the cache whenever memory runs out.
#pragma once

#include <optional>
#include <string>

#include "imaging/wrapper/DeviceIndepBitmap.h"
#include "imaging/wrapper/ImageAdjustments.h"
#include "imaging/wrapper/ImageCache.h"
#include "imaging/wrapper/ImageResult.h"

enum class LoadStatus {
    Loaded = 0, // decoded, or at least tried: the result says how it went
    NotSettled = 1, // the file was still changing after 20 s of waiting
    NotFound = 2,
    Failed = 3, // the decode failed in a way worth retrying, and kept failing
};

// Loads the file into the work picture, copies it into the pristine picture (when there is one)
// and applies the adjustments. False, with the failure in result, when any of it failed; in probe
// mode nothing is loaded and the result is false.
bool LoadImageIntoSlot(ImageCache& cache, Pellimar::DeviceIndepBitmap& work, const std::string& name,
    ImageResult& result, bool wait, const std::optional<ImageAdjustments>& adjustments, bool probe,
    const ImageCache::Picture& pristine);

// With wait, first waits until the file's size is above 0 and the same on two looks 500 ms apart
// (at most 20 s); then, unless probing, decodes it, retrying every 250 ms for up to 20 s while
// waiting and the failure is worth retrying. False when the file was missing or never settled
// (result and status say which); true otherwise, also for a failed decode, whose failure is in
// the result.
bool LoadImageFile(ImageCache& cache, Pellimar::DeviceIndepBitmap& picture, const std::string& name,
    ImageResult& result, bool wait, LoadStatus& status, bool probe);

// Turns the picture and applies the colour, hue, saturation, brightness, contrast and lightness
// changes, stopping at the first failure. When memory runs out part-way, slots are purged and the
// whole sequence starts again from the pristine picture; without one the result is false with
// the out-of-memory failure as the picture's last error. True without adjustments.
bool ApplyImageAdjustments(ImageCache& cache, Pellimar::DeviceIndepBitmap& picture,
    const std::optional<ImageAdjustments>& adjustments, const Pellimar::DeviceIndepBitmap* pristine);

// Turns the picture to the adjustments' quarter turns, or as its EXIF orientation says (3, 6 and 8
// are a half turn and a quarter turn clockwise and anticlockwise; anything else leaves it as it
// is), purging slots and trying again when memory runs out. True without adjustments.
bool ApplyImageRotation(ImageCache& cache, Pellimar::DeviceIndepBitmap& picture,
    const std::optional<ImageAdjustments>& adjustments);

// Copies the source picture into the target, purging slots (never the kept picture's) and trying
// again while memory runs out and a purge frees something. False, with the failure as the
// target's last error, when the copy failed for good.
bool CopyPicture(ImageCache& cache, Pellimar::DeviceIndepBitmap& target,
    const Pellimar::DeviceIndepBitmap& source, const Pellimar::DeviceIndepBitmap& keep);

// The results of a file that is missing (or has no name) and of one that never settled.
ImageResult MissingFileResult(Pellimar::DeviceIndepBitmap& picture, const std::string& name);
