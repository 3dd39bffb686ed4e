// A re-entrant mutex that can be waited for with a time limit, and the single-lock helper that
// takes it: the helper releases the mutex when it goes out of scope, on every path.
#pragma once

#include "platform/win/Types.h"

#include <mutex>

namespace win {

// Wait without a time limit.
constexpr DWORD INFINITE = 0xFFFFFFFF;

class Mutex {
public:
    // True when the mutex was taken within the time limit (milliseconds, or INFINITE).
    bool Lock(DWORD timeoutMs = INFINITE);
    void Unlock();

private:
    std::recursive_timed_mutex mutex_;
};

class SingleLock {
public:
    explicit SingleLock(Mutex& mutex, bool lockNow = false);
    ~SingleLock();
    SingleLock(const SingleLock&) = delete;
    SingleLock& operator=(const SingleLock&) = delete;

    // Waits at most timeoutMs for the mutex; true when it is held afterwards.
    bool Lock(DWORD timeoutMs = INFINITE);
    bool Unlock();
    bool IsLocked() const { return locked_; }

private:
    Mutex& mutex_;
    bool locked_ = false;
};

} // namespace win
