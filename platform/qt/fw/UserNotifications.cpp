#include "platform/qt/fw/UserNotifications.h"

#include "platform/qt/fw/CmdTarget.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace fw {

void RouteUserEdits(QLineEdit& edit, CmdTarget& target, win::UINT id)
{
    QObject::connect(
        &edit, &QLineEdit::textEdited, &edit, [&target, id] { target.SendNotification(id, EN_CHANGE); });
}

void RouteUserClicks(QAbstractButton& button, CmdTarget& target, win::UINT id)
{
    QObject::connect(&button, &QAbstractButton::clicked, &button,
        [&target, id] { target.SendNotification(id, BN_CLICKED); });
}

void RouteUserSelections(QComboBox& combo, CmdTarget& target, win::UINT id)
{
    QObject::connect(
        &combo, &QComboBox::activated, &combo, [&target, id] { target.SendNotification(id, CBN_SELCHANGE); });
    if (QLineEdit* edit = combo.lineEdit())
        QObject::connect(edit, &QLineEdit::textEdited, &combo,
            [&target, id] { target.SendNotification(id, CBN_EDITCHANGE); });
}

} // namespace fw
