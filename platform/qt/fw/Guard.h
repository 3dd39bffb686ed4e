// Qt's event dispatch does not let exceptions cross it. Every place where Qt calls into the
// framework (a paint, a command from a toolbar button or key, a notification, idle time, a close)
// runs the framework's code through GuardedCall, which stops an exception there and shows its
// text through the modal services, as the original framework reported an uncaught exception.
#pragma once

#include <functional>

namespace fw {

// Runs the function; false when it ended with an exception (which has been reported).
bool GuardedCall(const std::function<void()>& function);

} // namespace fw
