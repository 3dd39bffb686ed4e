// The folder of the running program, where the files that ship with it lie (the catalogue, the
// pack template, the sample photographs).
#pragma once

#include <string>
#include <string_view>

// The folder of the executable path, up to and including its last '/'; a path without one gives
// the current folder (as an absolute path, ending with '/').
std::string ProgramFolderOf(std::string_view executablePath);

// The folder of the running executable (/proc/self/exe), ending with '/'.
std::string RunningProgramFolder();
