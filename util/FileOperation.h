// Copying, moving and deleting files and folder trees, as one request: the engine behind the
// shell-style file functions. It asks nothing: a name clash overwrites (a folder onto a folder
// merges into it) or, when asked, the copy takes a free "Copy of " name. Symbolic links are
// copied, moved and deleted as links, never followed. A folder is never copied or moved into
// itself or below itself, and the root folder is never deleted or moved.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

enum class FileOperationKind { move, copy, remove };

// An item that replaces another is made under a name of this start beside it, then renamed over it.
inline constexpr std::string_view kReplacementNamePrefix = ".orvanel-copy-";

struct FileOperationRequest {
    FileOperationKind kind = FileOperationKind::copy;
    // An absolute path; the last component may hold the wildcards '*' and '?' (matching every
    // name, hidden ones too), and the matches are then the items worked on.
    std::string source;
    // For copy and move, an absolute path: an existing folder receives the items under their own
    // names, as does a new folder when the source has wildcards; otherwise the one item takes
    // the target's name. Missing folders on the way are made.
    std::string target;
    bool renameOnCollision = false;
};

enum class FileOperationResult {
    done,
    refused, // the request was not acceptable; nothing was done
    failed, // an item could not be handled; the others were (the last error tells why)
    cancelled, // the progress asked to stop; what was done stays
};

// Told about the work as it goes.
class FileOperationProgress {
public:
    virtual ~FileOperationProgress() = default;
    // Once, with the number of steps to expect (a copy or move counts every file, link and
    // folder of its trees, a deletion every item it deletes).
    virtual void Start(std::size_t steps) = 0;
    // Before each file, link or folder is handled; false cancels what is left.
    virtual bool Step(const std::string& path) = 0;
};

// How a deleted item goes: to the trash, or for good. True when it went (else the last error
// tells why).
using DiscardItem = std::function<bool(const std::string& path)>;

// Removes the file, link or whole folder tree for good.
bool DiscardForGood(const std::string& path);

FileOperationResult RunFileOperation(
    const FileOperationRequest& request, FileOperationProgress& progress, const DiscardItem& discard);
