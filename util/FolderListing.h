// The files of one folder that match a mask, each with its name and two time stamps, sorted in
// one of six orders. Folders are never listed. The mask is matched with the wildcard rules of
// WildcardMatchNoCase, letter case ignored, as the file finder of the original platform did.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FolderListEntry {
    std::string name; // with its extension, or without it when titles are asked for
    int64_t created = 0; // seconds since 1970
    int64_t written = 0;
};

// Sort orders of ListFolderFiles; any other value leaves the files in the order the folder gives.
constexpr int kListByNameAscending = 1;
constexpr int kListByNameDescending = 2;
constexpr int kListByCreatedOldestFirst = 3;
constexpr int kListByCreatedNewestFirst = 4;
constexpr int kListByWrittenOldestFirst = 5;
constexpr int kListByWrittenNewestFirst = 6;

struct FileStatus {
    bool folder = false;
    int64_t created = 0;
    int64_t written = 0;
};

// Where the listing learns what an entry is and its times. Tests put their own times in place.
class FileStatusReader {
public:
    virtual ~FileStatusReader() = default;
    // Nothing when the entry cannot be examined (it went away after the folder was read).
    virtual std::optional<FileStatus> Read(const std::string& path) const = 0;
};

// The file system's answer: the created time is the birth time where the file system records
// one, else the time of the last status change; the written time is the last modification.
const FileStatusReader& SystemFileStatus();

// Appends to the list the files of the folder whose names match the mask (after what the list
// already holds), sorted by the order. An empty folder text, a folder that cannot be read or a
// mask that matches nothing adds nothing. The folder may end with '/' or '\' or not.
void ListFolderFiles(const std::string& folder, const std::string& mask, std::vector<FolderListEntry>& list,
    bool titles, int order, const FileStatusReader& status = SystemFileStatus());
