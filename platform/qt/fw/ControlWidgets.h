// The two controls Qt has no widget for as the original has them.
#pragma once

#include "platform/win/Types.h"

#include <QFrame>
#include <QRadioButton>

namespace fw {

// A frame filled with a colour (the form's colour sample).
class Swatch : public QFrame {
public:
    explicit Swatch(QWidget* parent);
    void SetColor(win::COLORREF colour);
    win::COLORREF GetColor() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    win::COLORREF colour_ = win::RGB(255, 255, 255);
};

// A radio button as the original's: clicking it ticks it (a second click leaves it ticked) and
// the panel clears the others of its group; code setting it changes it alone.
class RadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
};

} // namespace fw
