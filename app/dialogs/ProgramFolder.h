// The folder of the running program, where the files that ship with it lie (the catalogue, the
// pack template, the sample photographs).
#pragma once

#include <string>
#include <string_view>

// The folder of the executable path, up to and including its last '/'. A bare name (no '/') says
// nothing of where the program lies, so it gives the running executable's folder, never the
// current folder.
std::string ProgramFolderOf(std::string_view executablePath);

// The folder of the running executable, ending with '/': from /proc/self/exe, or, where that cannot
// be read, where Qt finds the program (its start path, looked up in PATH); empty when neither
// knows.
std::string RunningProgramFolder();
