#include "platform/qt/MessageBoxLines.h"

#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

namespace fw {

namespace {

// The widest message box Qt makes on a screen of the width: the whole of a screen up to 1024
// pixels wide, else the screen less 480 pixels, and never more than 1000.
int WidestMessageBox(int screenWidth)
{
    return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

} // namespace

void KeepMessageLinesWhole(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    const QScreen* screen = box.screen();
    if (grid == nullptr || label == nullptr || screen == nullptr || grid->indexOf(label) < 0)
        return;
    int row = 0;
    int column = 0;
    int rows = 0;
    int columns = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
    // Unwrapped, the label asks for its widest line; the rest of the box (icon, margins) is what
    // the layout asks for beyond it.
    label->setWordWrap(false);
    const int textWidth = label->sizeHint().width();
    grid->setColumnMinimumWidth(column, textWidth);
    grid->invalidate();
    const int excess
        = grid->totalMinimumSize().width() - WidestMessageBox(screen->availableGeometry().width());
    if (excess > 0)
        grid->setColumnMinimumWidth(column, std::max(0, textWidth - excess));
}

} // namespace fw
