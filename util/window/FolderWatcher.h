// Watches the folders of one drive for names that appear, change or go, on a thread of its own at
// idle priority, and calls back from that thread on each change while the owner's flag allows it,
// naming the paths that changed.
#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FolderWatcher {
public:
    // `changed` runs on the watcher's thread with the full paths of the names that changed (an
    // empty path when the system lost track of some); `active` is read there for every change (the
    // changes that come while it is clear are dropped; the watch goes on).
    using Changed = std::function<void(const std::string& drive, std::vector<std::string> paths)>;
    FolderWatcher(std::string drive, bool withFiles, const std::atomic<bool>& active, Changed changed);
    ~FolderWatcher(); // asks the thread to end and waits for it
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches one more folder (not recursive); false when it cannot be watched.
    bool AddFolder(const std::string& path);
    bool IsRunning() const { return thread_.joinable(); }
    const std::string& Drive() const { return drive_; }

private:
    void Run();
    // The full paths the events of the buffer name, among the names the tree shows.
    std::vector<std::string> ChangedPaths(const char* buffer, long length);

    std::string drive_;
    bool withFiles_;
    const std::atomic<bool>& active_;
    Changed changed_;
    std::mutex foldersLock_; // the folders are added on the owner's thread, read on the watcher's
    std::map<int, std::string> folders_; // by watch descriptor
    int inotify_ = -1;
    int wake_ = -1;
    std::thread thread_;
};
