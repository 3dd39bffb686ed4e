#include "app/document/DocumentOptions.h"

namespace documentoptions {

// Until the program options are in, no paths are named.
std::string PackTemplatePath()
{
    return {};
}

std::string PortraitSamplePath()
{
    return {};
}

std::string GroupSamplePath()
{
    return {};
}

} // namespace documentoptions
