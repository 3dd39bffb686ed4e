#include "util/window/TreeFileItemIcon.h"

#include "util/window/SystemImageList.h"

#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kSmallIcon = 16;

// The small picture of an icon; a shared one gets a small hand-over arrow in its lower left corner.
QPixmap Picture(const QIcon& icon, bool shared)
{
    QPixmap pixmap = icon.pixmap(kSmallIcon, kSmallIcon);
    if (!shared)
        return pixmap;
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor(0x1F, 0x5F, 0xBF));
    painter.drawEllipse(QRectF(0.5, 8.5, 7, 7));
    painter.setPen(QPen(Qt::white, 1.2));
    painter.drawLine(QPointF(2.5, 13), QPointF(5.5, 11));
    return pixmap;
}

} // namespace

QIcon TreeFileItemIcon(int image, int openImage, bool shared)
{
    const QIcon closed = GetSystemImageList().GetIcon(image);
    if (closed.isNull())
        return {};
    const QIcon open = openImage != image ? GetSystemImageList().GetIcon(openImage) : QIcon();
    const QPixmap normal = Picture(closed, shared);
    const QPixmap selected = open.isNull() ? normal : Picture(open, shared);
    // The view asks for the "on" state while an item is expanded: expanding changes nothing.
    QIcon icon;
    for (const QIcon::State state : { QIcon::Off, QIcon::On }) {
        icon.addPixmap(normal, QIcon::Normal, state);
        icon.addPixmap(selected, QIcon::Selected, state);
    }
    return icon;
}
