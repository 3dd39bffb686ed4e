// Message boxes show each line of their text as one line wherever the screen has room for it.
// QMessageBox wraps any text wider than 500 pixels (less on a small screen), which breaks a list
// of tab-indented lines, such as a legend, back to the box's left edge. Widening the text's column
// to the widest line, up to the widest box Qt makes on the screen, keeps the lines whole; only a
// line wider than that still wraps.
#pragma once

class QMessageBox;

namespace fw {

void KeepMessageLinesWhole(QMessageBox& box);

} // namespace fw
