#include "platform/win/AppContext.h"

#include "platform/win/ScriptedModalServices.h"

namespace win {

AppContext& AppContext::Instance()
{
    static AppContext instance;
    return instance;
}

AppContext::AppContext()
{
    Reset();
}

void AppContext::Reset()
{
    *defaultProfile_ = MemoryProfileStore();
    profile_ = defaultProfile_;
    // With no answers queued every modal is dismissed at once: nothing can wait for a user who
    // is not there.
    modal_ = std::make_shared<ScriptedModalServices>();
    shell_ = std::make_shared<RecordingShell>();
    printers_ = PrinterSettings();
}

void AppContext::SetShell(std::shared_ptr<Shell> shell)
{
    if (shell)
        shell_ = std::move(shell);
}

void AppContext::SetProfileStore(std::shared_ptr<ProfileStore> store)
{
    if (store)
        profile_ = std::move(store);
}

void AppContext::SetModalServices(std::shared_ptr<ModalServices> modal)
{
    if (modal)
        modal_ = std::move(modal);
}

int AppContext::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const
{
    return profile_->GetProfileInt(section, entry, defaultValue);
}

bool AppContext::WriteProfileInt(std::string_view section, std::string_view entry, int value)
{
    return profile_->WriteProfileInt(section, entry, value);
}

std::string AppContext::GetProfileString(
    std::string_view section, std::string_view entry, std::string_view defaultValue) const
{
    return profile_->GetProfileString(section, entry, defaultValue);
}

bool AppContext::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value)
{
    return profile_->WriteProfileString(section, entry, value);
}

int AppContext::MessageBox(std::string_view text, UINT flags)
{
    return modal_->MessageBox(text, flags);
}

int AppContext::MessageBoxUtf8(std::string_view text, UINT flags)
{
    return modal_->MessageBoxUtf8(text, flags);
}

} // namespace win
