#include "app/dialogs/ProfileValues.h"

#include "records/SharedFunctions.h"

#include <algorithm>

std::string GetProfileStringValue(
    const std::string& section, const std::string& entry, const std::string& defaultValue)
{
    return GetTheApp().GetProfileString(section, entry, defaultValue);
}

std::string FormatZeroPadded(unsigned value, int width)
{
    std::string digits = std::to_string(value);
    const auto wanted = static_cast<std::size_t>(std::max(width, 0));
    if (digits.size() < wanted)
        digits.insert(0, wanted - digits.size(), '0');
    return digits;
}
