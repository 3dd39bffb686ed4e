// The calling thread's last-error code and its text. A failing operation captures errno into the
// thread-local code at the point of failure, so that a message shown later still names the cause
// even when other calls have changed errno in between.
#pragma once

#include "platform/win/Types.h"

#include <optional>
#include <string>

namespace win {

// The calling thread's last-error code; 0 when none has been set.
DWORD GetLastError();
void SetLastError(DWORD code);
// Stores the current errno as the calling thread's last-error code; call it right where a
// system or library call has failed.
void CaptureLastError();
// The system's text for an error code, or nothing when the system has none (0, unknown codes).
std::optional<std::string> SystemErrorText(DWORD code);

} // namespace win
