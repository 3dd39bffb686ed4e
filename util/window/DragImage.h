// The picture of what is being dragged, following the pointer over the whole screen while a drag
// of a window's own lasts: a small window that never takes the mouse, the keyboard or the focus.
// It exists exactly while the drag lasts.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

class DragImage : public QWidget {
public:
    // `hotSpot` is the point of the picture that stays under the pointer; `owner` is the window
    // the drag belongs to (the image goes with it).
    DragImage(const QPixmap& picture, QPoint hotSpot, QWidget* owner);

    // Puts the hot spot at the screen point.
    void MoveTo(QPoint screenPoint);
    const QPixmap& Picture() const { return picture_; }
    QPoint HotSpot() const { return hotSpot_; }

    // Takes the image off the screen for its own life, while the window below changes (scrolls,
    // marks another item), and shows it again after.
    class Hidden {
    public:
        explicit Hidden(DragImage* image);
        ~Hidden();
        Hidden(const Hidden&) = delete;
        Hidden& operator=(const Hidden&) = delete;

    private:
        DragImage* image_;
        bool wasVisible_;
    };

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap picture_;
    QPoint hotSpot_;
};
