#include "platform/win/ProfileStore.h"

#include <charconv>

namespace win {

namespace {
std::pair<std::string, std::string> Key(std::string_view section, std::string_view entry)
{
    return { std::string(section), std::string(entry) };
}
} // namespace

int ParseProfileInt(std::string_view text, int defaultValue)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end != text.data() ? value : defaultValue;
}

int MemoryProfileStore::GetProfileInt(
    std::string_view section, std::string_view entry, int defaultValue) const
{
    const auto it = values_.find(Key(section, entry));
    if (it == values_.end())
        return defaultValue;
    return ParseProfileInt(it->second, defaultValue);
}

bool MemoryProfileStore::WriteProfileInt(std::string_view section, std::string_view entry, int value)
{
    return WriteProfileString(section, entry, std::to_string(value));
}

std::string MemoryProfileStore::GetProfileString(
    std::string_view section, std::string_view entry, std::string_view defaultValue) const
{
    const auto it = values_.find(Key(section, entry));
    return it == values_.end() ? std::string(defaultValue) : it->second;
}

bool MemoryProfileStore::WriteProfileString(
    std::string_view section, std::string_view entry, std::string_view value)
{
    values_[Key(section, entry)] = std::string(value);
    writes_.push_back(std::string(section) + "/" + std::string(entry) + "=" + std::string(value));
    return true;
}

bool MemoryProfileStore::Contains(std::string_view section, std::string_view entry) const
{
    return values_.contains(Key(section, entry));
}

} // namespace win
