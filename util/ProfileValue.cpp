#include "util/ProfileValue.h"

#include "records/SharedFunctions.h"

bool WriteProfileIntValue(const std::string& entry, int value, const std::string& section)
{
    return GetTheApp().WriteProfileInt(section, entry, value);
}
