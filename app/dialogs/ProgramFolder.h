// The folder of the running program, where the files that ship with it lie (the catalogue, the
// pack template, the sample photographs).
#pragma once

#include <string>

// The folder of the running executable, ending with '/': from /proc/self/exe, or, where that cannot
// be read, where Qt finds the program (its start path, looked up in PATH); empty when neither
// knows.
std::string RunningProgramFolder();
