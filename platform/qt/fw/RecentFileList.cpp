#include "platform/qt/fw/RecentFileList.h"

#include "platform/win/AppContext.h"

#include <algorithm>

namespace fw {

namespace {
constexpr std::string_view section = "Recent File List";

std::string EntryName(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}
} // namespace

RecentFileList::RecentFileList(std::size_t size)
    : size_(size)
{
}

void RecentFileList::Add(std::string_view path)
{
    if (path.empty() || size_ == 0)
        return;
    const auto it = std::find(entries_.begin(), entries_.end(), path);
    if (it != entries_.end())
        entries_.erase(it);
    entries_.insert(entries_.begin(), std::string(path));
    if (entries_.size() > size_)
        entries_.resize(size_);
}

void RecentFileList::Remove(std::size_t index)
{
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RecentFileList::ReadList()
{
    entries_.clear();
    const win::AppContext& app = win::AppContext::Instance();
    for (std::size_t i = 0; i < size_; ++i) {
        std::string path = app.GetProfileString(section, EntryName(i), "");
        if (!path.empty() && std::find(entries_.begin(), entries_.end(), path) == entries_.end())
            entries_.push_back(std::move(path));
    }
}

void RecentFileList::WriteList() const
{
    win::AppContext& app = win::AppContext::Instance();
    for (std::size_t i = 0; i < size_; ++i)
        app.WriteProfileString(section, EntryName(i), i < entries_.size() ? entries_[i] : std::string());
}

} // namespace fw
