// The right-hand pane of the main frame until the editing form is part of the program: a plain
// view that says so, as wide as the form's panel will be.
#pragma once

#include "platform/qt/fw/View.h"

class FormPlaceholder : public fw::View {
public:
    FormPlaceholder();

    // The width of the pane's panel in pixels, and that plus the margin of the frame's column.
    int GetPanelWidth() const;
    int GetPanelWidthWithMargin() const { return GetPanelWidth() + 40; }
};
