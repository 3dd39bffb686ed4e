// The parts of a path: its folder (with the trailing '/'), its base name and its extension.
// Paths use '/' and have no drive, so the drive part is always empty. The extension is the
// last dot of the file name and what follows it; a name that starts with its only dot (".profile")
// is a hidden file without an extension, and a dot in a folder name never counts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

void GetPathDrive(std::string_view path, std::string& result);
// The drive (none) and the folder, with its trailing '/'.
void GetPathDriveAndFolder(std::string_view path, std::string& result);
void GetPathFolder(std::string_view path, std::string& result);
void GetPathBaseName(std::string_view path, std::string& result);
// The extension with its dot, or an empty text.
void GetPathExtension(std::string_view path, std::string& result);
// The base name and the extension.
void GetPathFileName(std::string_view path, std::string& result);
void GetPathWithoutDrive(std::string_view path, std::string& result);

// Removes one trailing '/', except from the root folder "/" itself.
void RemoveTrailingBackslash(std::string& path);
// Appends each folder name of the path's folder part to the list (the file name is not
// included); a folder part beginning with "//" gives first an element "//" and the server name.
void SplitPath(std::string_view path, std::vector<std::string>& parts);
