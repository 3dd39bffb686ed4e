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

class Control;
class DataExchange;

// The text that shows the path.
QString PathToText(std::string_view path);
// The path a field's text stands for: the held path while the text still shows it, else the
// text's UTF-8.
std::string TextToPath(const QString& text, std::string_view held);
// Exchange of an edit or an editable combo box that shows a path: putting shows it, taking keeps
// the held bytes unless the user changed the text.
void DDX_Path(DataExchange& dx, win::UINT id, std::string& path);

// An item of a list or combo box that shows a path and holds its bytes (-1 appends); the path an
// item holds.
int InsertPath(Control& control, int index, std::string_view path);
std::string ItemPath(const Control& control, int index);
// Exchange of a drop-down list of paths: putting selects the item of the path (none when no item
// holds it), taking gives the selected item's path (empty when none is selected).
void DDX_CBPath(DataExchange& dx, win::UINT id, std::string& path);

} // namespace fw
