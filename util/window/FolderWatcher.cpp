#include "util/window/FolderWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cstdint>

namespace {

constexpr uint32_t kNameChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

// Whether any event of the buffer concerns a name the tree shows.
bool Relevant(const char* buffer, ssize_t length, bool withFiles)
{
    for (ssize_t offset = 0; offset < length;) {
        inotify_event event {};
        std::copy_n(buffer + offset, sizeof event, reinterpret_cast<char*>(&event));
        if ((event.mask & kNameChanges) != 0 && (withFiles || (event.mask & IN_ISDIR) != 0))
            return true;
        offset += static_cast<ssize_t>(sizeof event + event.len);
    }
    return false;
}

} // namespace

FolderWatcher::FolderWatcher(std::string drive, bool withFiles, const std::atomic<bool>& active,
    std::function<void(const std::string& drive)> changed)
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
    return inotify_ >= 0 && ::inotify_add_watch(inotify_, path.c_str(), kNameChanges | IN_ONLYDIR) >= 0;
}

void FolderWatcher::Run()
{
    alignas(inotify_event) std::array<char, 8192> buffer {};
    for (;;) {
        std::array<pollfd, 2> fds { pollfd { inotify_, POLLIN, 0 }, pollfd { wake_, POLLIN, 0 } };
        if (::poll(fds.data(), fds.size(), -1) < 0)
            continue; // interrupted: wait again
        if ((fds[1].revents & POLLIN) != 0)
            return;
        bool relevant = false;
        ssize_t length = 0;
        while ((length = ::read(inotify_, buffer.data(), buffer.size())) > 0)
            relevant = Relevant(buffer.data(), length, withFiles_) || relevant;
        // A change of the owner's own operation is dropped; the watch goes on either way.
        if (relevant && active_.load())
            changed_(drive_);
    }
}
