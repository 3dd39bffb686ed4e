// File names given as wide text: Linux opens paths as bytes, so a wide name is turned into UTF-8.
#pragma once

#include <string>

// UTF-8 form of a wide file name; code points that are not characters become U+FFFD.
std::string Utf8Path(const wchar_t* name);

// A wide name as messages and trace lines show it: its UTF-8 form, or "{{Filename too long}}" when
// that needs more than 899 bytes.
std::string ShownPath(const wchar_t* name);
