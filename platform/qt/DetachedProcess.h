// Starting another program that runs on by itself: the caller does not wait for it, and it is never
// left behind as a zombie.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace fw {

// Starts `program` (looked up in PATH only when it names no folder) with `arguments`, in
// `directory` when one is given. Gives false when it cannot be started (missing, not executable,
// no such folder). The program is started without copying this process (posix_spawn, not fork):
// a fork of a process holding large pictures costs a copy-on-write fault on every page it writes
// afterwards. A thread of its own waits for the program's end.
bool StartDetached(
    const std::string& program, const std::vector<std::string>& arguments, const std::string& directory);

// The same, and once the program has ended `ended` is called on the event loop's thread with its
// exit code (-1 when a signal ended it). Nothing blocks meanwhile: the event loop watches the
// program's process descriptor. Gives false, calling nothing, when the program cannot be started.
// Without an application object nobody can be told: the program is then only started.
bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
    std::function<void(int exitCode)> ended);

} // namespace fw
