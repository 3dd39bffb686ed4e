// A view whose client is a template's controls (the editing form): the controls lie at their
// template places in a panel inside a scroll area, so that a pane narrower or lower than the
// template scrolls. The controls' notifications go to the view's handler maps and on to the
// document. The initial update puts the values into the controls (UpdateData(FALSE)) and then
// sends the view's update with hint 0.
#pragma once

#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/DialogTemplate.h"
#include "platform/qt/fw/View.h"

class QScrollArea;

namespace fw {

class FormView : public View, public ControlHost {
public:
    explicit FormView(const DialogTemplate& dialogTemplate, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    QScrollArea* GetScrollArea() const { return scrollArea_; }

private:
    QScrollArea* scrollArea_;
};

} // namespace fw
