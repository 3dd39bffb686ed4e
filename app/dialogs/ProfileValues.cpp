#include "app/dialogs/ProfileValues.h"

#include "records/CsvNumbers.h"
#include "records/SharedFunctions.h"

#include <algorithm>

std::string GetProfileStringValue(
    const std::string& section, const std::string& entry, const std::string& defaultValue)
{
    return GetTheApp().GetProfileString(section, entry, defaultValue);
}

std::string FormatZeroPadded(unsigned value, int width)
{
    return FormatUnsigned(value, std::max(width, 0));
}
