#include "app/frame/FormPlaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kPanelWidth = 280;
}

FormPlaceholder::FormPlaceholder()
{
    auto* layout = new QVBoxLayout(this); // owned by the view
    auto* label = new QLabel("The editing form is not available in this build.", this);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    setMinimumWidth(50);
}

int FormPlaceholder::GetPanelWidth() const
{
    return kPanelWidth;
}
