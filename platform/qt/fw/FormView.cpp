#include "platform/qt/fw/FormView.h"

#include "platform/qt/fw/ControlPanel.h"

#include <QScrollArea>
#include <QVBoxLayout>

namespace fw {

FormView::FormView(const DialogTemplate& dialogTemplate, QWidget* parent)
    : View(parent)
    , scrollArea_(new QScrollArea(this)) // owned by the view
{
    auto* layout = new QVBoxLayout(this); // owned by the view
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidgetResizable(false);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidget(CreateControls(dialogTemplate, *this, nullptr));
    setFocusPolicy(Qt::NoFocus); // the controls take the keys
}

void FormView::OnInitialUpdate()
{
    UpdateData(win::FALSE);
    View::OnInitialUpdate();
}

} // namespace fw
