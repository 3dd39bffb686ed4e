// Small functions used across the program: the application object through which settings are
// read and written and messages shown, the error message box with the last error's text, a test
// whether a file or folder exists, and case-insensitive search and comparison (ASCII letters).
#pragma once

#include "platform/win/AppContext.h"

#include <string>
#include <string_view>

// The application object: settings (GetProfileInt, WriteProfileInt, GetProfileString,
// WriteProfileString) and the modal services. The same object on every call.
win::AppContext& GetTheApp();
// The settings integer of entry in section, or defaultValue.
int GetProfileIntValue(const std::string& entry, int defaultValue, const std::string& section);

// Shows, with an OK button: the prefix and a line feed (when the prefix is not empty), the text
// of the calling thread's last error, then a line feed and the suffix (when it is not empty). The
// text is shown as UTF-8, since the prefix names a file as the file system has its name.
void ShowErrorMessage(const std::string& prefix, const std::string& suffix);
// The text of the calling thread's last error, or "Reason not known" when there is none.
void GetLastErrorText(std::string& text);

// False for an empty path; a trailing '/' (or '\') is ignored; wildcards in the last component
// ask whether anything matches.
bool FileOrFolderExists(const std::string& path);

// Position of sought in text ignoring letter case, or std::string::npos. An empty sought text is
// found at 0.
std::size_t FindNoCase(const std::string& text, const std::string& sought);
std::size_t FindNoCase(const std::string& text, const char* sought);

// Negative, 0 or positive as a sorts before, with or after b, ignoring letter case: the
// difference of the first upper-cased bytes that differ.
int CompareNoCase(const std::string& a, const std::string& b);
// Compares length characters of a from position with b, ignoring letter case, as
// std::string::compare does; a position beyond the end of a throws std::out_of_range.
int CompareNoCase(const std::string& a, std::size_t position, std::size_t length, const std::string& b);
