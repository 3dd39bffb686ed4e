#include "platform/win/Ticks.h"

#include <chrono>
#include <thread>

namespace win {

DWORD GetTickCount()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
    return static_cast<DWORD>(static_cast<uint64_t>(ms));
}

void Sleep(DWORD milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace win
