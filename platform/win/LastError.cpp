#include "platform/win/LastError.h"

#include <cerrno>
#include <cstring>

namespace win {

namespace {
thread_local DWORD lastError = 0;
} // namespace

DWORD GetLastError()
{
    return lastError;
}

void SetLastError(DWORD code)
{
    lastError = code;
}

void CaptureLastError()
{
    lastError = static_cast<DWORD>(errno);
}

std::optional<std::string> SystemErrorText(DWORD code)
{
    if (code == 0 || code > static_cast<DWORD>(INT32_MAX))
        return std::nullopt;
    // The description alone (no "Unknown error N" for codes the system does not know), and no
    // dependence on the process locale.
    const char* text = strerrordesc_np(static_cast<int>(code));
    if (text == nullptr || *text == '\0')
        return std::nullopt;
    return std::string(text);
}

} // namespace win
