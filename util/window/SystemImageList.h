// The small icons of files and folders by kind, for the file tree. One process-wide list whose
// indexes stay the same for the life of the process; the icons come from the desktop's icon theme,
// or from the widget style's standard file and folder icons when no theme is installed.
#pragma once

#include <QIcon>

#include <string>
#include <vector>

class SystemImageList {
public:
    // The index of the icon for the file or folder at the path: every folder shares one index, and
    // files share one per content type (read from the name and, where it decides, the content).
    int GetIconIndex(const std::string& path);
    // The same for the path shown open: folders have an open icon of their own, files do not.
    int GetOpenIconIndex(const std::string& path);
    // The icon at an index; a null icon for an index never given out or without an application
    // object (icons are made on demand and released when the application object goes).
    QIcon GetIcon(int index);
    int GetImageCount() const { return static_cast<int>(m_kinds.size()); }

    // Lets the icons go (the application object is going); the indexes stay.
    void ReleaseIcons();

private:
    int IndexOfKind(const std::string& kind);
    QIcon MakeIcon(const std::string& kind) const;

    std::vector<std::string> m_kinds; // the kind of each index: "inode/directory" or a content type
    std::vector<QIcon> m_icons; // made on demand, parallel to m_kinds
    bool m_releaseRegistered = false;
};

// The process-wide list, built during static initialisation as the file tree expects; it touches
// no Qt GUI class until an icon is asked for.
SystemImageList& GetSystemImageList();
