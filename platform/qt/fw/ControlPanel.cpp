#include "platform/qt/fw/ControlPanel.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/ControlWidgets.h"
#include "platform/qt/fw/Guard.h"
#include "platform/qt/fw/Keys.h"
#include "platform/qt/fw/UserNotifications.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace fw {

namespace {
bool Within(const QWidget* widget, const QWidget* root)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
        if (w == root)
            return true;
    return false;
}

bool Has(const ControlSpec& spec, win::UINT style)
{
    return (spec.style & style) != 0;
}

QWidget* MakeEdit(const ControlSpec& spec, CmdTarget& target, QWidget* parent)
{
    if (Has(spec, ES_MULTILINE)) {
        auto* lines = new QPlainTextEdit(parent); // owned by the panel, as every control below
        lines->setVerticalScrollBarPolicy(
            Has(spec, WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
        lines->setReadOnly(Has(spec, ES_READONLY));
        // Code sets the text with the signals blocked, so this is the user's typing only.
        QObject::connect(lines, &QPlainTextEdit::textChanged, lines,
            [&target, id = spec.id] { target.SendNotification(id, EN_CHANGE); });
        return lines;
    }
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(Has(spec, ES_READONLY));
    RouteUserEdits(*edit, target, spec.id);
    return edit;
}

QWidget* MakeCombo(const ControlSpec& spec, CmdTarget& target, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(spec.kind == ControlKind::dropDown);
    combo->setInsertPolicy(QComboBox::NoInsert); // typed text never joins the list by itself
    RouteUserSelections(*combo, target, spec.id);
    QObject::connect(
        qApp, &QApplication::focusChanged, combo, [combo, &target, id = spec.id](QWidget* old, QWidget* now) {
            if (Within(old, combo) && !Within(now, combo))
                target.SendNotification(id, CBN_KILLFOCUS);
        });
    return combo;
}

QWidget* MakeList(const ControlSpec& spec, CmdTarget& target, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    // Code changes the selection with the signals blocked: this is the user's choice only.
    // (The selection, not the current row: Qt moves that when the list first takes the focus.)
    QObject::connect(list, &QListWidget::itemSelectionChanged, list,
        [&target, id = spec.id] { target.SendNotification(id, LBN_SELCHANGE); });
    return list;
}

QWidget* MakeStatic(const ControlSpec& spec, QWidget* parent)
{
    auto* label = new QLabel(FromCp1252(spec.caption), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true); // the original's statics wrap at their right edge
    label->setAlignment((Has(spec, SS_RIGHT) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    return label;
}
} // namespace

ControlPanel::ControlPanel(
    const DialogTemplate& dialogTemplate, CmdTarget& target, ControlHost& host, QWidget* parent)
    : QWidget(parent)
    , host_(host)
    , specs_(dialogTemplate.controls)
{
    setFont(DialogFont(dialogTemplate.fontName, dialogTemplate.pointSize));
    base_ = BaseUnitsOf(font());
    resize(MapDialogRect(0, 0, dialogTemplate.cx, dialogTemplate.cy, base_).size());
    std::vector<QWidget*> boxes;
    for (const ControlSpec& spec : specs_) {
        QWidget* widget = MakeWidget(spec, target);
        QRect place = MapDialogRect(spec.x, spec.y, spec.cx, spec.cy, base_);
        if (qobject_cast<QComboBox*>(widget) != nullptr) // cy includes the dropped list
            place.setHeight(std::min(place.height(), widget->sizeHint().height()));
        widget->setGeometry(place);
        widget->setEnabled(!Has(spec, WS_DISABLED));
        widget->setHidden(Has(spec, WS_HIDDEN));
        if (spec.kind == ControlKind::groupBox)
            boxes.push_back(widget);
        WatchKeys(widget);
        controls_.try_emplace(spec.id, widget, spec.kind, spec.id);
    }
    // Group boxes lie behind the controls they frame, whatever the table's order.
    for (QWidget* box : boxes)
        box->lower();
}

QWidget* ControlPanel::MakeWidget(const ControlSpec& spec, CmdTarget& target)
{
    const QString caption = FromCp1252(spec.caption);
    switch (spec.kind) {
    case ControlKind::edit:
        return MakeEdit(spec, target, this);
    case ControlKind::button: {
        auto* button = new QPushButton(caption, this);
        button->setDefault(Has(spec, BS_DEFPUSHBUTTON));
        RouteUserClicks(*button, target, spec.id);
        return button;
    }
    case ControlKind::checkBox: {
        auto* box = new QCheckBox(caption, this);
        RouteUserClicks(*box, target, spec.id);
        return box;
    }
    case ControlKind::radioButton: {
        auto* radio = new RadioButton(caption, this);
        radio->setAutoExclusive(false); // the groups are the template's, kept below
        QObject::connect(radio, &QAbstractButton::clicked, this, [this, id = spec.id] { ClearGroupOf(id); });
        RouteUserClicks(*radio, target, spec.id);
        return radio;
    }
    case ControlKind::dropDown:
    case ControlKind::dropDownList:
        return MakeCombo(spec, target, this);
    case ControlKind::listBox:
        return MakeList(spec, target, this);
    case ControlKind::groupBox: {
        auto* box = new QGroupBox(caption, this);
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        return box;
    }
    case ControlKind::swatch:
        return new Swatch(this);
    case ControlKind::tree: {
        auto* host = new QWidget(this);
        auto* layout = new QVBoxLayout(host);
        layout->setContentsMargins(0, 0, 0, 0);
        return host;
    }
    case ControlKind::icon: {
        auto* icon = new QLabel(this);
        icon->setPixmap(QPixmap(caption));
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return icon;
    }
    case ControlKind::staticText:
        break;
    }
    return MakeStatic(spec, this);
}

void ControlPanel::WatchKeys(QWidget* widget)
{
    widget->installEventFilter(this);
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->lineEdit() != nullptr)
        combo->lineEdit()->installEventFilter(this);
}

bool ControlPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const Control* control = ControlOf(qobject_cast<QWidget*>(watched));
    MSG msg { WM_KEYDOWN, VirtualKeyOf(static_cast<QKeyEvent*>(event)->key()),
        control != nullptr ? control->GetDlgCtrlID() : 0 };
    bool taken = false;
    GuardedCall([&] { taken = host_.PreTranslateMessage(&msg) != win::FALSE; });
    return taken;
}

void ControlPanel::Silence()
{
    for (auto& [id, control] : controls_) {
        QWidget* widget = control.GetWidget();
        if (widget == nullptr)
            continue;
        widget->disconnect(); // its user-action signals
        QObject::disconnect(qApp, nullptr, widget, nullptr); // the focus watch of a combo
        if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->lineEdit() != nullptr)
            combo->lineEdit()->disconnect();
        widget->removeEventFilter(this);
    }
}

Control* ControlPanel::GetDlgItem(win::UINT id)
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

Control* ControlPanel::ControlOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr && w != this; w = w->parentWidget())
        for (auto& [id, control] : controls_)
            if (control.GetWidget() == w)
                return &control;
    return nullptr;
}

std::vector<win::UINT> ControlPanel::RadioGroup(win::UINT firstId) const
{
    std::vector<win::UINT> group;
    const auto first = std::find_if(
        specs_.begin(), specs_.end(), [firstId](const ControlSpec& spec) { return spec.id == firstId; });
    for (auto it = first; it != specs_.end() && it->kind == ControlKind::radioButton; ++it) {
        if (it != first && Has(*it, WS_GROUP))
            break;
        group.push_back(it->id);
    }
    return group;
}

void ControlPanel::ClearGroupOf(win::UINT id)
{
    // The group's first radio is the nearest one at or before this one with WS_GROUP.
    const auto at
        = std::find_if(specs_.begin(), specs_.end(), [id](const ControlSpec& spec) { return spec.id == id; });
    auto first = at;
    while (first != specs_.begin() && !Has(*first, WS_GROUP)
        && std::prev(first)->kind == ControlKind::radioButton)
        --first;
    for (const win::UINT other : RadioGroup(first->id))
        if (other != id)
            if (Control* control = GetDlgItem(other))
                control->SetCheck(0);
}

} // namespace fw
