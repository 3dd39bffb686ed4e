// File attributes in the original platform's bits, read from the file's status. Read-only means
// that the owner may not write (the functions look at the bit themselves, because root writes
// whatever the bits say); hidden means a name that starts with a dot. The attributes that have
// no counterpart here (archive, system, compressed, encrypted, offline, temporary, sparse, not
// indexed) are never reported.
#pragma once

#include "platform/win/Types.h"

#include <string>

constexpr win::DWORD FILE_ATTRIBUTE_READONLY = 0x0001;
constexpr win::DWORD FILE_ATTRIBUTE_HIDDEN = 0x0002;
constexpr win::DWORD FILE_ATTRIBUTE_DIRECTORY = 0x0010;
// A file with none of the other attributes.
constexpr win::DWORD FILE_ATTRIBUTE_NORMAL = 0x0080;
constexpr win::DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// The attributes of the file or folder (links followed), or INVALID_FILE_ATTRIBUTES with the
// last error set when it cannot be read.
win::DWORD GetFileAttributes(const std::string& path);
// Gives the owner write permission back (without read-only) or takes write permission from
// everyone (with it); the other attributes cannot be set. False with the last error set.
bool SetFileAttributes(const std::string& path, win::DWORD attributes);

// When the attributes can be read and include read-only, writes them back without it and
// returns 1 (0 when that failed); otherwise the attributes read, -1 when unreadable.
int ClearReadOnly(const std::string& path);
// The same, adding read-only when it is missing.
int SetReadOnly(const std::string& path);
