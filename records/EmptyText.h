// The one empty text of the program, handed out by reference as the "no text" answer of a lookup
// (a mount description out of range, a computer without a text), so that a caller may keep the
// reference. Constant-initialised: it exists before any other static object is built, whatever
// the order in which files are initialised.
#pragma once

#include <string>

inline constinit const std::string EmptyText {};
