#include "util/window/FilePropertiesDialog.h"

#include "platform/qt/fw/Control.h"
#include "util/window/TreeFileItemRoles.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>

namespace {

using fw::ControlKind;

fw::DialogTemplate Template()
{
    fw::DialogTemplate dialog { FilePropertiesDialog::kDialogId, "Properties", 220, 118, {} };
    const char* labels[] = { "Name:", "Kind:", "Size:", "Modified:", "Accessed:", "Permissions:" };
    for (int row = 0; row < 6; ++row) {
        dialog.controls.push_back(
            { fw::IDC_STATIC, ControlKind::staticText, labels[row], 7, 9 + row * 14, 48, 8 });
        dialog.controls.push_back({ FilePropertiesDialog::kName + static_cast<win::UINT>(row),
            ControlKind::staticText, "", 58, 9 + row * 14, 155, 8 });
    }
    dialog.controls.push_back(
        { win::IDOK, ControlKind::button, "OK", 163, 97, 50, 14, fw::BS_DEFPUSHBUTTON });
    return dialog;
}

std::string Kind(const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return "Folder";
    if (S_ISLNK(info.st_mode))
        return "Link";
    return S_ISREG(info.st_mode) ? "File" : "Special file";
}

std::string Time(time_t when)
{
    struct tm local { };
    char text[32] = "";
    if (::localtime_r(&when, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string Permissions(mode_t mode)
{
    std::string text;
    const char letters[] = "rwx";
    for (int bit = 8; bit >= 0; --bit)
        text += (mode & (1U << bit)) != 0 ? letters[(8 - bit) % 3] : '-';
    return text;
}

} // namespace

FilePropertiesDialog::FilePropertiesDialog(std::string path, QWidget* parent)
    : fw::Dialog(Template(), parent)
    , path_(std::move(path))
{
}

win::BOOL FilePropertiesDialog::OnInitDialog()
{
    fw::Dialog::OnInitDialog();
    struct stat info { };
    const bool known = ::lstat(path_.c_str(), &info) == 0;
    const auto set = [this](win::UINT id, const std::string& text) { GetDlgItem(id)->SetWindowText(text); };
    // The name as the tree shows it: UTF-8, U+FFFD for bytes that are not.
    GetDlgItem(kName)->SetUnicodeText(LabelOf(std::filesystem::path(path_).filename().string()));
    set(kKind, known ? Kind(info) : "Missing");
    if (known) {
        set(kSize, std::to_string(info.st_size) + (info.st_size == 1 ? " byte" : " bytes"));
        set(kModified, Time(info.st_mtime));
        set(kAccessed, Time(info.st_atime));
        set(kPermissions, Permissions(info.st_mode));
    }
    return win::TRUE;
}
