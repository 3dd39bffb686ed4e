#include "platform/qt/fw/ImageList.h"

namespace fw {

int ImageList::Add(const QPixmap& picture)
{
    images_.push_back(picture);
    return GetImageCount() - 1;
}

QIcon ImageList::GetIcon(int index) const
{
    if (index < 0 || index >= GetImageCount())
        return {};
    return QIcon(images_[static_cast<std::size_t>(index)]);
}

} // namespace fw
