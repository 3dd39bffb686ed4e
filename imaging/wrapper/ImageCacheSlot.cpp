#include "imaging/wrapper/ImageCacheSlot.h"

namespace {

constexpr int32_t kCacheJpegQuality = 95;

} // namespace

std::shared_ptr<Pellimar::DeviceIndepBitmap> ImageCacheSlot::MakePicture()
{
    auto picture = std::make_shared<Pellimar::DeviceIndepBitmap>();
    picture->SetJpegQuality(kCacheJpegQuality);
    return picture;
}

ImageCacheSlot ImageCacheSlot::MakeEmpty()
{
    return { {}, MakePicture(), MakePicture() };
}

bool ImageCacheSlot::IsFree() const
{
    return work && pristine && work.use_count() == 1 && pristine.use_count() == 1;
}
