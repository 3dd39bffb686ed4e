#include "util/PathText.h"

void AppendBackslash(std::string& path)
{
    if (!path.empty() && path.back() != '\\')
        path.push_back('\\');
}

std::string LastCharacter(std::string_view text)
{
    return text.empty() ? std::string() : std::string(1, text.back());
}

std::string_view WithoutTrailingSlashes(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path;
}
