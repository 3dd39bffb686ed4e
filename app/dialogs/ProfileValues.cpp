#include "app/dialogs/ProfileValues.h"

#include "records/CsvNumbers.h"
#include "records/SharedFunctions.h"

#include <algorithm>

std::string GetProfileStringValue(
    const std::string& section, const std::string& entry, const std::string& defaultValue)
{
    return GetTheApp().GetProfileString(section, entry, defaultValue);
}

bool WriteProfileStringValue(const std::string& section, const std::string& entry, const std::string& value)
{
    return GetTheApp().WriteProfileString(section, entry, value) != 0;
}

int GetProfileIntegerValue(const std::string& section, const std::string& entry, int defaultValue)
{
    return GetTheApp().GetProfileInt(section, entry, defaultValue);
}

bool WriteProfileIntegerValue(const std::string& section, const std::string& entry, int value)
{
    return GetTheApp().WriteProfileInt(section, entry, value) != 0;
}

bool GetProfileBoolValue(const std::string& section, const std::string& entry, bool defaultValue)
{
    return GetTheApp().GetProfileInt(section, entry, defaultValue ? 1 : 0) != 0;
}

std::string FormatZeroPadded(unsigned value, int width)
{
    return FormatUnsigned(value, std::max(width, 0));
}
