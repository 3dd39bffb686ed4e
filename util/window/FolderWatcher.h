// Watches the folders of one drive for names that appear, change or go, on a thread of its own,
// and calls back from that thread on each change while the owner's flag allows it.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class FolderWatcher {
public:
    // `changed` runs on the watcher's thread; `active` is read there for every change (the owner
    // clears it during its own file operations; those changes are dropped, the watch goes on).
    FolderWatcher(std::string drive, bool withFiles, const std::atomic<bool>& active,
        std::function<void(const std::string& drive)> changed);
    ~FolderWatcher(); // asks the thread to end and waits for it
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Watches one more folder (not recursive); false when it cannot be watched.
    bool AddFolder(const std::string& path);
    bool IsRunning() const { return thread_.joinable(); }
    const std::string& Drive() const { return drive_; }

private:
    void Run();

    std::string drive_;
    bool withFiles_;
    const std::atomic<bool>& active_;
    std::function<void(const std::string&)> changed_;
    int inotify_ = -1;
    int wake_ = -1;
    std::thread thread_;
};
