// A small dialog of the file tree showing a file's or folder's name, kind, size, times and
// permissions, read when it opens.
#pragma once

#include "platform/qt/fw/Dialog.h"

#include <string>

class FilePropertiesDialog : public fw::Dialog {
public:
    static constexpr win::UINT kDialogId = 3700;
    enum : win::UINT { kName = 3701, kKind, kSize, kModified, kAccessed, kPermissions };

    explicit FilePropertiesDialog(std::string path, QWidget* parent = nullptr);
    win::BOOL OnInitDialog() override;

private:
    std::string path_;
};
