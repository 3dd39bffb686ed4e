// The framework's recent-file list: the newest path first, at most a fixed number, kept in the
// settings as "Recent File List"/"File1".."FileN".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class RecentFileList {
public:
    explicit RecentFileList(std::size_t size = 4);

    // Puts the path at the top; an entry already holding it moves up instead of repeating.
    void Add(std::string_view path);
    void Remove(std::size_t index);
    std::size_t GetSize() const { return size_; }
    const std::vector<std::string>& Entries() const { return entries_; }

    void ReadList();
    // Writes every slot; slots beyond the list's entries are written empty.
    void WriteList() const;

private:
    std::size_t size_;
    std::vector<std::string> entries_;
};

} // namespace fw
