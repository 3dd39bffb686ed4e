// The application object as the rest of the program reaches it: the settings store, the modal
// services and the shell. One per process; the program installs its Qt-backed services at
// start-up and tests install in-memory, scripted and recording ones (Reset puts fresh defaults
// back; the object itself stays, so references to it stay valid).
#pragma once

#include "platform/win/ModalServices.h"
#include "platform/win/PrinterSettings.h"
#include "platform/win/ProfileStore.h"
#include "platform/win/Shell.h"

#include <memory>
#include <string>
#include <string_view>

namespace win {

class AppContext {
public:
    static AppContext& Instance();

    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value);
    std::string GetProfileString(
        std::string_view section, std::string_view entry, std::string_view defaultValue) const;
    bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value);

    int MessageBox(std::string_view text, UINT flags);
    // The same with the text in UTF-8: for messages that name files.
    int MessageBoxUtf8(std::string_view text, UINT flags);

    ProfileStore& Profile() const { return *profile_; }
    ModalServices& Modal() const { return *modal_; }
    void SetProfileStore(std::shared_ptr<ProfileStore> store);
    void SetModalServices(std::shared_ptr<ModalServices> modal);
    Shell& GetShell() const { return *shell_; }
    void SetShell(std::shared_ptr<Shell> shell);
    // The program's printer settings (none until a default printer is chosen).
    PrinterSettings& Printers() { return printers_; }
    // Back to an empty in-memory store, modal services that answer nothing (every modal is
    // recorded as unexpected and dismissed), a shell that only records and no printer settings.
    void Reset();

private:
    AppContext();
    // The store that Reset puts back, emptied in place.
    const std::shared_ptr<MemoryProfileStore> defaultProfile_ = std::make_shared<MemoryProfileStore>();
    std::shared_ptr<ProfileStore> profile_;
    std::shared_ptr<ModalServices> modal_;
    std::shared_ptr<Shell> shell_;
    PrinterSettings printers_;
};

} // namespace win
