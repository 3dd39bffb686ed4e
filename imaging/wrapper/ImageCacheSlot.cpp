#include "imaging/wrapper/ImageCacheSlot.h"

namespace {

constexpr int32_t kCacheJpegQuality = 95;

std::shared_ptr<Pellimar::DeviceIndepBitmap> MakePicture()
{
    auto picture = std::make_shared<Pellimar::DeviceIndepBitmap>();
    picture->SetJpegQuality(kCacheJpegQuality);
    return picture;
}

} // namespace

ImageCacheSlot ImageCacheSlot::MakeEmpty()
{
    return { {}, MakePicture(), MakePicture() };
}

bool ImageCacheSlot::IsFree() const
{
    return work && pristine && work.use_count() == 1 && pristine.use_count() == 1;
}
