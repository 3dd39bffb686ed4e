// Plain text on the desktop's clipboard. Texts are the program's single-byte code page; the
// clipboard holds Unicode, converted at this boundary.
#pragma once

#include <string>
#include <string_view>

// The clipboard's plain text; false (text untouched) when there is no application with windows
// or the clipboard holds no text.
bool GetClipboardText(std::string& text);
// Puts the text on the clipboard in place of what was there; false when there is no application
// with windows or the text did not arrive.
bool SetClipboardText(std::string_view text);
