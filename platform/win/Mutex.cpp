#include "platform/win/Mutex.h"

#include <chrono>

namespace win {

bool Mutex::Lock(DWORD timeoutMs)
{
    if (timeoutMs == INFINITE) {
        mutex_.lock();
        return true;
    }
    return mutex_.try_lock_for(std::chrono::milliseconds(timeoutMs));
}

void Mutex::Unlock()
{
    mutex_.unlock();
}

SingleLock::SingleLock(Mutex& mutex, bool lockNow)
    : mutex_(mutex)
{
    if (lockNow)
        Lock();
}

SingleLock::~SingleLock()
{
    Unlock();
}

bool SingleLock::Lock(DWORD timeoutMs)
{
    if (locked_)
        return true;
    locked_ = mutex_.Lock(timeoutMs);
    return locked_;
}

bool SingleLock::Unlock()
{
    if (!locked_)
        return false;
    mutex_.Unlock();
    locked_ = false;
    return true;
}

} // namespace win
