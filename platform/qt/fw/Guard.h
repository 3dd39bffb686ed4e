// Qt's event dispatch does not let exceptions cross it. Every place where Qt calls into the
// framework (a paint, a command from a toolbar button or key, a notification, idle time, a close)
// runs the framework's code through GuardedCall, which stops an exception there and shows its
// text through the modal services, as the original framework reported an uncaught exception.
#pragma once

#include <functional>

namespace fw {

// Thrown once the user has been told what went wrong (a value that failed its data exchange):
// it ends the handler quietly, wherever it is caught.
struct UserException { };

// Runs the function; false when it ended with an exception (which has been reported, unless it
// was a UserException, whose message the user has already seen).
bool GuardedCall(const std::function<void()>& function);

} // namespace fw
