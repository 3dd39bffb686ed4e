// The handle of a worker thread: null, invalid, or naming a thread started through it. Its exit
// code reads STILL_ACTIVE (259) while the thread runs.
//
// A thread cannot be killed safely here, so Terminate does not stop the thread: it fixes the
// exit code the handle reports from then on, and the handle stops waiting for the thread, which
// runs on until its body returns. Workers are therefore expected to watch their stop flag;
// Terminate is the last resort for one that does not, and Join the way to be sure it has ended
// before what it uses goes.
#pragma once

#include "platform/win/Types.h"

#include <functional>
#include <memory>
#include <thread>

namespace win {

constexpr DWORD STILL_ACTIVE = 259;

class ThreadHandle {
public:
    // The null handle.
    ThreadHandle() = default;
    // The invalid handle (all bits set in the original).
    static ThreadHandle Invalid();
    // Starts a thread running body; its return value becomes the exit code.
    static ThreadHandle Start(std::function<DWORD()> body);

    ThreadHandle(ThreadHandle&& other) noexcept;
    ThreadHandle& operator=(ThreadHandle&& other) noexcept;
    ThreadHandle(const ThreadHandle&) = delete;
    ThreadHandle& operator=(const ThreadHandle&) = delete;
    ~ThreadHandle();

    bool IsNull() const { return state_ == State::null; }
    // Neither null nor invalid.
    bool IsValid() const { return state_ == State::valid; }

    // False for a null or invalid handle; otherwise the exit code, STILL_ACTIVE while running.
    bool GetExitCode(DWORD& code) const;
    // See the note above. False for a null or invalid handle.
    bool Terminate(DWORD exitCode);
    // Lets go of the thread (waiting for it only when it has already finished) and makes the
    // handle null. False for a null or invalid handle.
    bool Close();
    // Waits until the thread's body has returned, terminated or not; the handle stays open.
    // False for a null or invalid handle.
    bool Join();

private:
    enum class State { null, invalid, valid };
    struct Shared;

    State state_ = State::null;
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

} // namespace win
