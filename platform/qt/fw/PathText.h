// Paths in text fields. A path is the file system's bytes; a field shows it as UTF-8 when the
// bytes are UTF-8, and otherwise each byte as its Windows-1252 character, and gives the very same
// bytes back while the user leaves the text as it was shown. A path typed or changed is taken as
// UTF-8. Paths never pass through the code page conversion of the texts of a layout, and are never
// refused for holding characters outside it.
#pragma once

#include "platform/win/Types.h"

#include <QString>

#include <string>
#include <string_view>

namespace fw {

class DataExchange;

// The text that shows the path.
QString PathToText(std::string_view path);
// The path a field's text stands for: the held path while the text still shows it, else the
// text's UTF-8.
std::string TextToPath(const QString& text, std::string_view held);
// Exchange of an edit or an editable combo box that shows a path: putting shows it, taking keeps
// the held bytes unless the user changed the text.
void DDX_Path(DataExchange& dx, win::UINT id, std::string& path);

} // namespace fw
