// The one empty text of the program, handed out by reference as the "no text" answer of a lookup
// (a mount description out of range, a computer without a text), so that a caller may keep the
// reference. Built on its first use, so it exists before any static object of another file reads
// it, whatever the order in which files are initialised; a function-local static rather than a
// constinit variable, which clang with libstdc++ 12 refuses for std::string.
#pragma once

#include <string>

inline const std::string& EmptyText()
{
    static const std::string empty;
    return empty;
}
