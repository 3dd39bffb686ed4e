#include "platform/qt/DetachedProcess.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <optional>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fw {

namespace {

// What the started program gets from the spawn: its folder, and the default signal handling and
// an empty signal mask, whatever this process has set for itself.
class SpawnSettings {
public:
    explicit SpawnSettings(const std::string& directory)
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
        if (!directory.empty())
            posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~SpawnSettings()
    {
        posix_spawnattr_destroy(&attributes_);
        posix_spawn_file_actions_destroy(&actions_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_ {};
    posix_spawnattr_t attributes_ {};
};

void ReapWhenEnded(pid_t child)
{
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) { }
    }).detach();
}

// A descriptor that becomes readable when the process ends, or -1. (Called directly: the C
// library's own wrapper is not declared for C++ in every version.)
int ProcessDescriptor(pid_t process)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, process, 0));
}

std::optional<pid_t> Spawn(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& directory)
{
    std::vector<std::string> words { program };
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const SpawnSettings settings(directory);
    pid_t child = 0;
    if (posix_spawnp(&child, program.c_str(), settings.Actions(), settings.Attributes(), argv.data(), environ)
        != 0)
        return std::nullopt;
    return child;
}

// Waits on the event loop for a started program to end: its process descriptor becomes readable
// then. Goes by itself once it has told; an application that ends first leaves the program to a
// thread that reaps it.
class EndWatch : public QObject {
public:
    EndWatch(pid_t child, int descriptor, std::function<void(int)> ended)
        : QObject(QCoreApplication::instance())
        , child_(child)
        , descriptor_(descriptor)
        , ended_(std::move(ended))
        , notifier_(descriptor, QSocketNotifier::Read)
    {
        connect(&notifier_, &QSocketNotifier::activated, this, [this] { Finish(); });
    }
    ~EndWatch() override
    {
        notifier_.setEnabled(false);
        ::close(descriptor_);
        if (child_ > 0)
            ReapWhenEnded(child_);
    }
    EndWatch(const EndWatch&) = delete;
    EndWatch& operator=(const EndWatch&) = delete;

private:
    void Finish()
    {
        int status = 0;
        pid_t reaped = 0;
        while ((reaped = waitpid(child_, &status, WNOHANG)) < 0 && errno == EINTR) { }
        if (reaped == 0)
            return; // not ended after all
        child_ = 0;
        notifier_.setEnabled(false);
        const int code = reaped > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::function<void(int)> ended = std::move(ended_);
        deleteLater();
        if (ended)
            ended(code);
    }

    pid_t child_;
    int descriptor_;
    std::function<void(int)> ended_;
    QSocketNotifier notifier_;
};

} // namespace

bool StartDetached(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& directory)
{
    const std::optional<pid_t> child = Spawn(program, arguments, directory);
    if (!child)
        return false;
    ReapWhenEnded(*child);
    return true;
}

bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
    std::function<void(int exitCode)> ended)
{
    const std::optional<pid_t> child = Spawn(program, arguments, {});
    if (!child)
        return false;
    const int descriptor = QCoreApplication::instance() != nullptr ? ProcessDescriptor(*child) : -1;
    if (descriptor < 0) {
        ReapWhenEnded(*child);
        return true;
    }
    new EndWatch(*child, descriptor, std::move(ended)); // owned by the application object
    return true;
}

} // namespace fw
