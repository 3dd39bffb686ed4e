#include "imaging/wrapper/EncoderLock.h"

#include <atomic>

namespace {

std::atomic_flag& Flag()
{
    static std::atomic_flag flag;
    return flag;
}

} // namespace

void EncoderLock::Acquire()
{
    while (Flag().test_and_set(std::memory_order_acquire))
        Flag().wait(true, std::memory_order_relaxed);
}

bool EncoderLock::TryAcquire()
{
    return !Flag().test_and_set(std::memory_order_acquire);
}

void EncoderLock::Release()
{
    Flag().clear(std::memory_order_release);
    Flag().notify_one();
}
