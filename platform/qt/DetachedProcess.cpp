#include "platform/qt/DetachedProcess.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

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

} // namespace

bool StartDetached(
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
        return false;
    ReapWhenEnded(child);
    return true;
}

} // namespace fw
