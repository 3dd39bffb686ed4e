#include "util/PathParts.h"

#include <algorithm>

namespace {

struct PathSplit {
    std::string_view folder; // with its trailing '/'
    std::string_view baseName;
    std::string_view extension; // with its dot
};

PathSplit Split(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view name = path.substr(nameStart);
    std::size_t dot = name.rfind('.');
    if (dot == 0 || name == "..")
        dot = std::string_view::npos;
    const std::size_t baseLength = dot == std::string_view::npos ? name.size() : dot;
    return { path.substr(0, nameStart), name.substr(0, baseLength), name.substr(baseLength) };
}

} // namespace

void GetPathDrive(std::string_view, std::string& result)
{
    result.clear();
}

void GetPathDriveAndFolder(std::string_view path, std::string& result)
{
    result = Split(path).folder;
}

void GetPathFolder(std::string_view path, std::string& result)
{
    result = Split(path).folder;
}

void GetPathBaseName(std::string_view path, std::string& result)
{
    result = Split(path).baseName;
}

void GetPathExtension(std::string_view path, std::string& result)
{
    result = Split(path).extension;
}

void GetPathFileName(std::string_view path, std::string& result)
{
    const PathSplit split = Split(path);
    result = std::string(split.baseName) + std::string(split.extension);
}

void GetPathWithoutDrive(std::string_view path, std::string& result)
{
    result = path;
}

void RemoveTrailingBackslash(std::string& path)
{
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
}

void SplitPath(std::string_view path, std::vector<std::string>& parts)
{
    std::string_view folder = Split(path).folder;
    if (folder.starts_with("//")) {
        const std::size_t end = std::min(folder.find('/', 2), folder.size());
        parts.emplace_back(folder.substr(0, end));
        folder.remove_prefix(end);
    }
    while (!folder.empty()) {
        const std::size_t slash = folder.find('/');
        if (slash != 0)
            parts.emplace_back(folder.substr(0, slash));
        folder.remove_prefix(slash + 1);
    }
}
