// The editor a view shows for an item's label: the one on the screen, not one that has closed and
// waits to be deleted.
#pragma once

#include <QLineEdit>
#include <QWidget>

inline QLineEdit* ShownEditor(const QWidget& view)
{
    for (QLineEdit* editor : view.findChildren<QLineEdit*>()) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}
