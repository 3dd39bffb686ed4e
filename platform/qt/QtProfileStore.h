// The settings store of the running program: an INI file through QSettings, with the original's
// sections and value names. Text values are held in code page 1252 by the program and stored as
// Unicode in the file.
#pragma once

#include "platform/win/ProfileStore.h"

#include <memory>
#include <string>
#include <string_view>

class QSettings;

namespace fw {

class QtProfileStore : public win::ProfileStore {
public:
    explicit QtProfileStore(const std::string& path);
    ~QtProfileStore() override;

    // The file named by ORVANEL_SETTINGS when it is set, else <config>/<key>/<application>.conf
    // in the user's configuration folder (~/.config).
    static std::string DefaultPath(std::string_view key, std::string_view application);

    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(
        std::string_view section, std::string_view entry, std::string_view defaultValue) const override;
    // The first write reaches the file at once; later ones are kept until Flush or destruction.
    // False while the file cannot be written.
    bool WriteProfileString(
        std::string_view section, std::string_view entry, std::string_view value) override;
    // Writes every kept value to the file; false when it could not be written.
    bool Flush();

    std::string FileName() const;

private:
    std::unique_ptr<QSettings> settings_;
    bool writable_ = false;
};

} // namespace fw
