// The report view of the original's list control: rows of items with a text in each column, under
// a header whose items have a format (alignment, text, a picture on either side) and a picture
// from the header's image list. Indexes count from 0; texts are code page 1252.
#pragma once

#include "platform/win/Types.h"

#include <QTreeWidget>

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class ImageList;
class ListCtrl;

// Column and header formats.
constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int HDF_LEFT = 0x0000;
constexpr int HDF_RIGHT = 0x0001;
constexpr int HDF_CENTER = 0x0002;
constexpr int HDF_JUSTIFYMASK = 0x0003;
constexpr int HDF_IMAGE = 0x0800; // the item shows its picture from the image list
constexpr int HDF_BITMAP_ON_RIGHT = 0x1000; // the picture after the text
constexpr int HDF_STRING = 0x4000; // the item shows its text

// Which members of a header item are read or written.
constexpr win::UINT HDI_TEXT = 0x0002;
constexpr win::UINT HDI_FORMAT = 0x0004;
constexpr win::UINT HDI_IMAGE = 0x0020;

struct HDITEM {
    win::UINT mask = 0;
    std::string text; // any length
    int fmt = 0;
    int iImage = 0;
};

// The header of a list control, as GetHeaderCtrl gives it.
class HeaderCtrl {
public:
    explicit HeaderCtrl(ListCtrl& list)
        : list_(list)
    {
    }
    int GetItemCount() const;
    // The members the mask names; false for an index out of range.
    win::BOOL GetItem(int index, HDITEM* item) const;
    win::BOOL SetItem(int index, const HDITEM* item);
    // Shows the caller's pictures (null for none); returns the list shown before.
    ImageList* SetImageList(ImageList* images);
    ImageList* GetImageList() const { return images_; }
    // The item's format, 0 for an index out of range.
    int GetFormat(int index) const;

private:
    friend class ListCtrl;
    struct Item {
        int fmt = HDF_STRING;
        int image = 0;
    };
    void Show(int index);

    ListCtrl& list_;
    std::vector<Item> items_;
    ImageList* images_ = nullptr;
};

class ListCtrl : public QTreeWidget {
public:
    explicit ListCtrl(QWidget* parent = nullptr);

    // Inserts a column before the index (appended when beyond the last); returns its index.
    int InsertColumn(int column, std::string_view heading, int format = LVCFMT_LEFT, int width = -1);
    // Inserts an item before the index (appended when beyond the last); returns its index, -1
    // for a negative index.
    int InsertItem(int index, std::string_view text);
    win::BOOL SetItemText(int item, int subItem, std::string_view text);
    std::string GetItemText(int item, int subItem) const;
    int GetItemCount() const { return topLevelItemCount(); }

    // The first row shown at the top, and how many rows fit wholly in the view.
    int GetTopIndex() const;
    int GetCountPerPage() const;
    // Scrolls as little as needed to show the item wholly (partly is enough with partialOK);
    // false for an index out of range.
    win::BOOL EnsureVisible(int index, win::BOOL partialOK);

    HeaderCtrl* GetHeaderCtrl() { return &header_; }

private:
    int RowHeight() const;

    HeaderCtrl header_;
};

} // namespace fw
