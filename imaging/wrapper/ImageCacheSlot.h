// One place of the image cache: a file name, the picture handed to callers, and the picture as it
// was loaded, from which adjustments are redone.
#pragma once

#include <memory>
#include <string>

#include "imaging/wrapper/DeviceIndepBitmap.h"

struct ImageCacheSlot {
    std::string name; // exact file name; empty for a free slot
    std::shared_ptr<Pellimar::DeviceIndepBitmap> work;
    std::shared_ptr<Pellimar::DeviceIndepBitmap> pristine;

    // An unnamed slot with two empty pictures, saved as JPEG at quality 95.
    static ImageCacheSlot MakeEmpty();
    // An empty picture of the cache, saved as JPEG at quality 95.
    static std::shared_ptr<Pellimar::DeviceIndepBitmap> MakePicture();
    // Neither picture is held outside the cache.
    bool IsFree() const;
};
