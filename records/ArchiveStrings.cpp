#include "records/ArchiveStrings.h"

#include <string_view>

namespace {
std::string_view UpToNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}
} // namespace

void ReadArchiveStdString(win::Archive& ar, std::string& text)
{
    const std::string read = ar.ReadString();
    text = std::string(UpToNul(read));
}

void WriteArchiveStdString(win::Archive& ar, const std::string& text)
{
    ar.WriteString(UpToNul(text));
}
