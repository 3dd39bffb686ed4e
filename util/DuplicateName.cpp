#include "util/DuplicateName.h"

#include "records/SharedFunctions.h"

#include <functional>

namespace {

std::size_t FileNameStart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? 0 : slash + 1;
}

void InsertCopyOf(std::string& path)
{
    path.insert(FileNameStart(path), "Copy of ");
}

// Only a dot within the file name counts; a dot in a folder name is no extension.
void InsertMark(std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < FileNameStart(path))
        path += 'c';
    else
        path.insert(path.begin() + static_cast<std::ptrdiff_t>(dot), 'c');
}

std::string FirstFree(std::string candidate, const std::function<void(std::string&)>& next)
{
    while (FileOrFolderExists(candidate))
        next(candidate);
    return candidate;
}

} // namespace

std::string FreeDuplicateName(const std::string& path, bool markBeforeExtension)
{
    return FirstFree(path, markBeforeExtension ? InsertMark : InsertCopyOf);
}
