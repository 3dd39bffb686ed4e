#include "util/window/DragImage.h"

#include <QPainter>

DragImage::DragImage(const QPixmap& picture, QPoint hotSpot, QWidget* owner)
    : QWidget(owner,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
    , picture_(picture)
    , hotSpot_(hotSpot)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // The picture is opaque; where a compositor can fade the window, the drop target shows through.
    setWindowOpacity(0.75);
    resize(picture_.size());
}

void DragImage::MoveTo(QPoint screenPoint)
{
    move(screenPoint - hotSpot_);
}

void DragImage::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, picture_);
}

DragImage::Hidden::Hidden(DragImage* image)
    : image_(image)
    , wasVisible_(image != nullptr && image->isVisible())
{
    if (wasVisible_)
        image_->hide();
}

DragImage::Hidden::~Hidden()
{
    if (wasVisible_)
        image_->show();
}
