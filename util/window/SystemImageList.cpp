#include "util/window/SystemImageList.h"

#include <QApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QMimeDatabase>
#include <QStyle>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFolderKind = "inode/directory";
constexpr const char* kOpenFolderKind = "inode/directory+open"; // a kind of our own

// Built during static initialisation; holds only plain containers until an icon is asked for.
SystemImageList processImageList;

// The content type of a file: by its name where that decides, else by the first bytes of a regular
// file. The file is reached by the path's own bytes (whatever their encoding), the name decoded
// only to be matched.
std::string KindOfFile(const std::string& path, const fs::file_status& status)
{
    const QMimeDatabase types;
    const QString name = QString::fromUtf8(fs::path(path).filename().string());
    if (!fs::is_regular_file(status) || types.mimeTypesForFileName(name).size() == 1)
        return types.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toStdString();
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    QFile content;
    if (descriptor >= 0 && !content.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        ::close(descriptor);
    return types.mimeTypeForFileNameAndData(name, &content).name().toStdString();
}

} // namespace

SystemImageList& GetSystemImageList()
{
    return processImageList;
}

int SystemImageList::GetIconIndex(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (fs::is_directory(status))
        return IndexOfKind(kFolderKind);
    return IndexOfKind(KindOfFile(path, status));
}

int SystemImageList::GetOpenIconIndex(const std::string& path)
{
    std::error_code error;
    return fs::is_directory(path, error) ? IndexOfKind(kOpenFolderKind) : GetIconIndex(path);
}

int SystemImageList::IndexOfKind(const std::string& kind)
{
    const auto found = std::find(m_kinds.begin(), m_kinds.end(), kind);
    if (found != m_kinds.end())
        return static_cast<int>(found - m_kinds.begin());
    m_kinds.push_back(kind);
    m_icons.emplace_back();
    return static_cast<int>(m_kinds.size()) - 1;
}

QIcon SystemImageList::GetIcon(int index)
{
    if (index < 0 || index >= GetImageCount() || !qobject_cast<QApplication*>(QCoreApplication::instance()))
        return {};
    QIcon& icon = m_icons[static_cast<size_t>(index)];
    if (icon.isNull()) {
        icon = MakeIcon(m_kinds[static_cast<size_t>(index)]);
        if (!m_releaseRegistered) {
            // The icons hold pixmaps that must not outlive the application object.
            qAddPostRoutine([] { GetSystemImageList().ReleaseIcons(); });
            m_releaseRegistered = true;
        }
    }
    return icon;
}

QIcon SystemImageList::MakeIcon(const std::string& kind) const
{
    const QFileIconProvider provider;
    QStyle* style = QApplication::style();
    if (kind == kFolderKind) {
        const QIcon themed = provider.icon(QAbstractFileIconProvider::Folder);
        return themed.isNull() ? style->standardIcon(QStyle::SP_DirIcon) : themed;
    }
    if (kind == kOpenFolderKind) {
        const QIcon themed = QIcon::fromTheme(QStringLiteral("folder-open"));
        return themed.isNull() ? style->standardIcon(QStyle::SP_DirOpenIcon) : themed;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForName(QString::fromStdString(kind));
    QIcon icon = QIcon::fromTheme(type.iconName(), QIcon::fromTheme(type.genericIconName()));
    if (icon.isNull())
        icon = provider.icon(QAbstractFileIconProvider::File);
    return icon.isNull() ? style->standardIcon(QStyle::SP_FileIcon) : icon;
}

void SystemImageList::ReleaseIcons()
{
    for (QIcon& icon : m_icons)
        icon = QIcon();
    m_releaseRegistered = false;
}
