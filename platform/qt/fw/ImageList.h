// A list of small pictures that controls refer to by index (a header's sort arrows, list items).
// It belongs to its creator; controls that show it only point at it.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <vector>

namespace fw {

class ImageList {
public:
    // Appends the picture; returns its index.
    int Add(const QPixmap& picture);
    int GetImageCount() const { return static_cast<int>(images_.size()); }
    // The picture at the index as an icon; a null icon for an index out of range.
    QIcon GetIcon(int index) const;

private:
    std::vector<QPixmap> images_;
};

} // namespace fw
