#include "util/window/FolderWatcher.h"

#include <poll.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

#include <pthread.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// The most paths one report names (about a megabyte of names).
constexpr std::size_t kMaxReportedPaths = 10000;

// Watching waits on the user's work: the thread runs only when nothing else wants the processor
// (or, where that policy is refused, at the lowest priority a thread can have).
void LowerThisThreadsPriority()
{
    const sched_param param {};
    if (::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &param) != 0)
        ::setpriority(PRIO_PROCESS, 0, 19); // on Linux, the calling thread alone
}

} // namespace

FolderWatcher::FolderWatcher(
    std::string drive, bool withFiles, const std::atomic<bool>& active, Changed changed)
    : drive_(std::move(drive))
    , withFiles_(withFiles)
    , active_(active)
    , changed_(std::move(changed))
    , inotify_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    , wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (inotify_ >= 0 && wake_ >= 0)
        thread_ = std::thread([this] { Run(); });
}

FolderWatcher::~FolderWatcher()
{
    if (thread_.joinable()) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    for (const int fd : { inotify_, wake_ }) {
        if (fd >= 0)
            ::close(fd);
    }
}

bool FolderWatcher::AddFolder(const std::string& path)
{
    if (inotify_ < 0)
        return false;
    const int watch = ::inotify_add_watch(inotify_, path.c_str(), kNameChanges | IN_ONLYDIR);
    if (watch < 0)
        return false;
    const std::scoped_lock lock(foldersLock_);
    folders_[watch] = path;
    return true;
}

std::vector<std::string> FolderWatcher::ChangedPaths(const char* buffer, long length)
{
    std::vector<std::string> paths;
    const std::scoped_lock lock(foldersLock_);
    for (long offset = 0; offset < length;) {
        inotify_event event {};
        std::copy_n(buffer + offset, sizeof event, reinterpret_cast<char*>(&event));
        const char* name = buffer + offset + sizeof event;
        offset += static_cast<long>(sizeof event + event.len);
        if ((event.mask & IN_Q_OVERFLOW) != 0) {
            paths.emplace_back(); // changes were lost: whatever they were
            continue;
        }
        if ((event.mask & kNameChanges) == 0 || (!withFiles_ && (event.mask & IN_ISDIR) == 0))
            continue;
        const auto folder = folders_.find(event.wd);
        const std::string base = folder != folders_.end() ? folder->second : std::string();
        const std::string named(name, ::strnlen(name, event.len));
        paths.push_back(base.empty() || base.ends_with('/') ? base + named : base + "/" + named);
    }
    return paths;
}

void FolderWatcher::Run()
{
    LowerThisThreadsPriority();
    alignas(inotify_event) std::array<char, 8192> buffer {};
    for (;;) {
        std::array<pollfd, 2> fds { pollfd { inotify_, POLLIN, 0 }, pollfd { wake_, POLLIN, 0 } };
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue; // interrupted: wait again
        if ((fds[1].revents & POLLIN) != 0)
            return;
        std::vector<std::string> paths;
        bool tooMany = false;
        ssize_t length = 0;
        while ((length = ::read(inotify_, buffer.data(), buffer.size())) > 0) {
            std::vector<std::string> more = ChangedPaths(buffer.data(), length);
            paths.insert(paths.end(), more.begin(), more.end());
            // A folder that keeps changing (an archive unpacked into it) could make the list grow
            // without end: past a bound the report says only that something changed (the empty
            // path of a lost track).
            tooMany = tooMany || paths.size() > kMaxReportedPaths;
            if (tooMany)
                paths.clear();
        }
        if (tooMany)
            paths.assign(1, std::string());
        // A change of the owner's own operation is dropped; the watch goes on either way.
        if (!paths.empty() && active_.load())
            changed_(drive_, std::move(paths));
    }
}
