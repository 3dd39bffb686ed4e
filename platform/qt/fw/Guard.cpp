#include "platform/qt/fw/Guard.h"

#include "platform/win/AppContext.h"

#include <exception>
#include <string>

namespace fw {

namespace {
void Report(const std::string& text) noexcept
{
    try {
        win::AppContext::Instance().MessageBox(text, win::MB_OK | win::MB_ICONSTOP);
    } catch (...) {
        // Nothing is left to tell the user with; the exception stops here all the same.
    }
}
} // namespace

bool GuardedCall(const std::function<void()>& function)
{
    try {
        function();
        return true;
    } catch (const UserException&) {
        // Already told.
    } catch (const std::exception& e) {
        Report(e.what());
    } catch (...) {
        Report("An unknown error occurred.");
    }
    return false;
}

} // namespace fw
