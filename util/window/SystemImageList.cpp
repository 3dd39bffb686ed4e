#include "util/window/SystemImageList.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStyle>

#include <algorithm>

namespace {

constexpr const char* kFolderKind = "inode/directory";
constexpr const char* kOpenFolderKind = "inode/directory+open"; // a kind of our own

// Built during static initialisation; holds only plain containers until an icon is asked for.
SystemImageList processImageList;

} // namespace

SystemImageList& GetSystemImageList()
{
    return processImageList;
}

int SystemImageList::GetIconIndex(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    if (info.isDir())
        return IndexOfKind(kFolderKind);
    return IndexOfKind(QMimeDatabase().mimeTypeForFile(info).name().toStdString());
}

int SystemImageList::GetOpenIconIndex(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).isDir() ? IndexOfKind(kOpenFolderKind)
                                                           : GetIconIndex(path);
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
