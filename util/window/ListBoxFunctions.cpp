#include "util/window/ListBoxFunctions.h"

#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/ListBoxExtent.h"

#include <QFontMetrics>
#include <QListWidget>

#include <algorithm>

void SetListBoxHorizontalExtent(fw::Control& listBox)
{
    auto* const list = qobject_cast<QListWidget*>(listBox.GetWidget());
    if (list == nullptr || listBox.GetKind() != fw::ControlKind::listBox)
        return;
    const QFontMetrics metrics(list->font());
    int widest = 0;
    for (int row = 0; row < list->count(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(list->item(row)->text()));
    fw::SetHorizontalExtent(*list, widest + 5);
}
