// The per-user settings store (the original platform's profile functions): values kept by
// section and entry. The application installs a file-backed store; tests use the in-memory one.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace win {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The stored integer, or the default when the entry is missing or not a number.
    virtual int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
    // The stored text, or the default when the entry is missing.
    virtual std::string GetProfileString(
        std::string_view section, std::string_view entry, std::string_view defaultValue) const = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value)
        = 0;
};

// An integer stored as text: its leading decimal number, or the default when it has none.
int ParseProfileInt(std::string_view text, int defaultValue);

// Keeps every value as text, as a settings file does.
class MemoryProfileStore : public ProfileStore {
public:
    int GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(
        std::string_view section, std::string_view entry, std::string_view defaultValue) const override;
    bool WriteProfileString(
        std::string_view section, std::string_view entry, std::string_view value) override;

    bool Contains(std::string_view section, std::string_view entry) const;
    void Clear() { values_.clear(); }
    // Every write in order, "section/entry=value", so that tests can check what was written when.
    const std::vector<std::string>& Writes() const { return writes_; }

private:
    std::map<std::pair<std::string, std::string>, std::string, std::less<>> values_;
    std::vector<std::string> writes_;
};

} // namespace win
