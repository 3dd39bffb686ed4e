// The application object as the rest of the program reaches it: the settings store and the
// modal services. One per process; the program installs its Qt-backed services at start-up and
// tests install in-memory and scripted ones (Reset puts fresh defaults back).
#pragma once

#include "platform/win/ModalServices.h"
#include "platform/win/ProfileStore.h"

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

    ProfileStore& Profile() const { return *profile_; }
    ModalServices& Modal() const { return *modal_; }
    void SetProfileStore(std::shared_ptr<ProfileStore> store);
    void SetModalServices(std::shared_ptr<ModalServices> modal);
    // Back to an empty in-memory store and modal services that refuse every modal.
    void Reset();

private:
    AppContext();
    std::shared_ptr<ProfileStore> profile_;
    std::shared_ptr<ModalServices> modal_;
};

} // namespace win
