// The program options the document reads: the pack template and the two sample pictures.
#pragma once

#include <string>

namespace documentoptions {

std::string PackTemplatePath();
std::string PortraitSamplePath();
std::string GroupSamplePath();

} // namespace documentoptions
