#include "platform/qt/fw/ToolBar.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/FrameWnd.h"

#include <QAction>
#include <QIcon>
#include <QPixmap>

namespace fw {

ToolBar::ToolBar()
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(buttonWidth, buttonHeight));
}

win::BOOL ToolBar::CreateEx(FrameWnd* parent)
{
    if (parent == nullptr)
        return win::FALSE;
    frame_ = parent;
    parent->addToolBar(Qt::TopToolBarArea, this); // the frame owns the toolbar from here
    return win::TRUE;
}

win::BOOL ToolBar::LoadToolBar(std::string_view stripResource, std::span<const ToolBarButton> buttons)
{
    const QPixmap strip(FromCp1252(stripResource));
    if (frame_ == nullptr || strip.isNull() || strip.height() < buttonHeight)
        return win::FALSE;
    int picture = 0;
    for (const ToolBarButton& button : buttons)
        if (button.id != ID_SEPARATOR)
            ++picture;
    if (strip.width() < picture * buttonWidth)
        return win::FALSE;
    picture = 0;
    for (const ToolBarButton& button : buttons) {
        if (button.id == ID_SEPARATOR) {
            addSeparator();
            continue;
        }
        const QString prompt = FromCp1252(button.prompt);
        const qsizetype lineFeed = prompt.indexOf(QLatin1Char('\n'));
        const QString status = lineFeed < 0 ? prompt : prompt.left(lineFeed);
        const QString tip = lineFeed < 0 ? QString() : prompt.mid(lineFeed + 1);
        QAction* action = addAction(QIcon(strip.copy(picture * buttonWidth, 0, buttonWidth, buttonHeight)),
            tip.isEmpty() ? status : tip);
        action->setStatusTip(status);
        action->setToolTip(tip.isEmpty() ? status : tip);
        action->setData(button.id);
        frame_->AddCommandAction(action, button.id);
        ++picture;
    }
    return win::TRUE;
}

QAction* ToolBar::GetButtonAction(win::UINT id) const
{
    for (QAction* action : actions())
        if (!action->isSeparator() && action->data().toUInt() == id)
            return action;
    return nullptr;
}

} // namespace fw
