#include "platform/qt/fw/Control.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/ControlWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace fw {

namespace {
// Items of a combo or list box, seen through one interface.
struct Items {
    QComboBox* combo = nullptr;
    QListWidget* list = nullptr;

    bool Valid() const { return combo != nullptr || list != nullptr; }
    int Count() const { return combo != nullptr ? combo->count() : list != nullptr ? list->count() : 0; }
    QString Text(int i) const { return combo != nullptr ? combo->itemText(i) : list->item(i)->text(); }
};

Items ItemsOf(QWidget* widget)
{
    return { qobject_cast<QComboBox*>(widget), qobject_cast<QListWidget*>(widget) };
}

// The first index after `after`, wrapping round, for which the test holds.
template <class Test> int FindFrom(const Items& items, int after, Test test)
{
    const int count = items.Count();
    const int start = after < 0 || after >= count ? 0 : after + 1;
    for (int n = 0; n < count; ++n) {
        const int i = (start + n) % count;
        if (test(items.Text(i)))
            return i;
    }
    return CB_ERR;
}

QString WithLineFeeds(std::string_view text)
{
    QString converted = FromCp1252(text);
    converted.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return converted;
}

QString WithCrLf(QString text)
{
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}
} // namespace

Control::Control(QWidget* widget, ControlKind kind, win::UINT id)
    : widget_(widget)
    , kind_(kind)
    , id_(id)
{
}

void Control::SetWindowText(std::string_view text)
{
    SetUnicodeText(qobject_cast<QPlainTextEdit*>(widget_.data()) ? WithLineFeeds(text) : FromCp1252(text));
}

void Control::SetUnicodeText(const QString& text)
{
    QWidget* widget = widget_.data();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget)) {
        const QSignalBlocker quiet(lines);
        lines->setPlainText(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->isEditable())
        combo->setEditText(text);
}

std::string Control::GetWindowText() const
{
    QWidget* widget = widget_.data();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return ToCp1252(edit->text());
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget))
        return ToCp1252(WithCrLf(lines->toPlainText()));
    if (auto* label = qobject_cast<QLabel*>(widget))
        return ToCp1252(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return ToCp1252(button->text());
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return ToCp1252(box->title());
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return ToCp1252(combo->currentText());
    return {};
}

win::BOOL Control::EnableWindow(win::BOOL enable)
{
    if (!IsValid())
        return win::FALSE;
    const bool wasDisabled = !widget_->isEnabled();
    widget_->setEnabled(enable != win::FALSE);
    return wasDisabled ? win::TRUE : win::FALSE;
}

win::BOOL Control::IsWindowEnabled() const
{
    return IsValid() && widget_->isEnabled() ? win::TRUE : win::FALSE;
}

win::BOOL Control::ShowWindow(int showCommand)
{
    if (!IsValid())
        return win::FALSE;
    const bool wasVisible = !widget_->isHidden();
    widget_->setHidden(showCommand == win::SW_HIDE);
    return wasVisible ? win::TRUE : win::FALSE;
}

win::BOOL Control::IsWindowVisible() const
{
    return IsValid() && !widget_->isHidden() ? win::TRUE : win::FALSE;
}

void Control::SetFocus()
{
    if (IsValid())
        widget_->setFocus(Qt::OtherFocusReason);
}

void Control::GetWindowRect(win::RECT* rect) const
{
    if (!IsValid() || rect == nullptr)
        return;
    const QPoint topLeft = widget_->mapToGlobal(QPoint(0, 0));
    *rect = { topLeft.x(), topLeft.y(), topLeft.x() + widget_->width(), topLeft.y() + widget_->height() };
}

void Control::SetCheck(int check)
{
    if (auto* box = qobject_cast<QCheckBox*>(widget_.data())) {
        if (check == 2)
            box->setTristate(true);
        box->setCheckState(check == 2 ? Qt::PartiallyChecked : check != 0 ? Qt::Checked : Qt::Unchecked);
    } else if (auto* radio = qobject_cast<QRadioButton*>(widget_.data()))
        radio->setChecked(check != 0);
}

int Control::GetCheck() const
{
    if (auto* box = qobject_cast<QCheckBox*>(widget_.data()))
        return box->checkState() == Qt::PartiallyChecked ? 2 : box->isChecked() ? 1 : 0;
    if (auto* radio = qobject_cast<QRadioButton*>(widget_.data()))
        return radio->isChecked() ? 1 : 0;
    return 0;
}

void Control::SetReadOnly(win::BOOL readOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data()))
        edit->setReadOnly(readOnly != win::FALSE);
    else if (auto* lines = qobject_cast<QPlainTextEdit*>(widget_.data()))
        lines->setReadOnly(readOnly != win::FALSE);
}

win::BOOL Control::IsReadOnly() const
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data()))
        return edit->isReadOnly() ? win::TRUE : win::FALSE;
    if (auto* lines = qobject_cast<QPlainTextEdit*>(widget_.data()))
        return lines->isReadOnly() ? win::TRUE : win::FALSE;
    return win::FALSE;
}

void Control::SetSel(int start, int end)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        const int length = static_cast<int>(edit->text().size());
        const int last = end < 0 || end > length ? length : end;
        const int first = start < 0 ? 0 : start > last ? last : start;
        edit->setSelection(first, last - first);
    }
}

void Control::LimitText(int maxChars)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        const int held = static_cast<int>(edit->text().size());
        edit->setMaxLength(maxChars > 0 ? std::max(maxChars, held) : 32767);
    }
}

int Control::AddString(std::string_view text)
{
    return InsertString(-1, text);
}

int Control::InsertString(int index, std::string_view text)
{
    return InsertItem(index, FromCp1252(text), {});
}

int Control::InsertItem(int index, const QString& text, const QByteArray& data)
{
    const Items items = ItemsOf(widget_.data());
    if (!items.Valid() || index > items.Count())
        return CB_ERR;
    const int at = index < 0 ? items.Count() : index;
    if (items.combo != nullptr) {
        const QSignalBlocker quiet(items.combo);
        const QString edited = items.combo->currentText();
        const bool noSelection = items.combo->currentIndex() < 0;
        items.combo->insertItem(at, text, data.isNull() ? QVariant() : QVariant(data));
        if (noSelection) // Qt would select a first item; the original selects nothing
            items.combo->setCurrentIndex(-1);
        if (items.combo->isEditable())
            items.combo->setEditText(edited); // an insertion leaves the edit's text alone
    } else {
        const QSignalBlocker quiet(items.list);
        items.list->insertItem(at, text);
        if (!data.isNull())
            items.list->item(at)->setData(Qt::UserRole, data);
    }
    return at;
}

QByteArray Control::GetItemData(int index) const
{
    const Items items = ItemsOf(widget_.data());
    if (!items.Valid() || index < 0 || index >= items.Count())
        return {};
    return (
        items.combo != nullptr ? items.combo->itemData(index) : items.list->item(index)->data(Qt::UserRole))
        .toByteArray();
}

int Control::DeleteString(int index)
{
    const Items items = ItemsOf(widget_.data());
    if (!items.Valid() || index < 0 || index >= items.Count())
        return CB_ERR;
    if (items.combo != nullptr) {
        const QSignalBlocker quiet(items.combo);
        items.combo->removeItem(index);
    } else {
        const QSignalBlocker quiet(items.list);
        delete items.list->takeItem(index); // the list gives up the item it owned
    }
    return items.Count();
}

void Control::ResetContent()
{
    const Items items = ItemsOf(widget_.data());
    if (items.combo != nullptr) {
        const QSignalBlocker quiet(items.combo);
        items.combo->clear();
        items.combo->setEditText({});
    } else if (items.list != nullptr) {
        const QSignalBlocker quiet(items.list);
        items.list->clear();
    }
}

int Control::GetCount() const
{
    return ItemsOf(widget_.data()).Count();
}

int Control::FindStringExact(int after, std::string_view text) const
{
    const Items items = ItemsOf(widget_.data());
    const QString wanted = FromCp1252(text);
    return FindFrom(
        items, after, [&](const QString& item) { return item.compare(wanted, Qt::CaseInsensitive) == 0; });
}

int Control::FindString(int after, std::string_view text) const
{
    const Items items = ItemsOf(widget_.data());
    const QString wanted = FromCp1252(text);
    return FindFrom(
        items, after, [&](const QString& item) { return item.startsWith(wanted, Qt::CaseInsensitive); });
}

int Control::SetCurSel(int index)
{
    const Items items = ItemsOf(widget_.data());
    if (!items.Valid())
        return CB_ERR;
    const bool inRange = index >= 0 && index < items.Count();
    const int chosen = inRange ? index : -1;
    if (items.combo != nullptr) {
        const QSignalBlocker quiet(items.combo);
        items.combo->setCurrentIndex(chosen);
        if (chosen < 0 && items.combo->isEditable())
            items.combo->setEditText({});
    } else {
        const QSignalBlocker quiet(items.list);
        items.list->setCurrentRow(chosen);
        if (chosen < 0)
            items.list->clearSelection();
    }
    return inRange ? index : CB_ERR;
}

int Control::GetCurSel() const
{
    const Items items = ItemsOf(widget_.data());
    if (items.combo != nullptr)
        return items.combo->currentIndex();
    if (items.list != nullptr)
        return items.list->selectedItems().isEmpty() ? LB_ERR : items.list->currentRow();
    return CB_ERR;
}

int Control::GetLBText(int index, std::string& text) const
{
    const Items items = ItemsOf(widget_.data());
    if (!items.Valid() || index < 0 || index >= items.Count())
        return CB_ERR;
    text = ToCp1252(items.Text(index));
    return static_cast<int>(text.size());
}

std::string Control::GetLBText(int index) const
{
    std::string text;
    GetLBText(index, text);
    return text;
}

void Control::SetColor(win::COLORREF colour)
{
    if (auto* swatch = dynamic_cast<Swatch*>(widget_.data()))
        swatch->SetColor(colour);
}

win::COLORREF Control::GetColor() const
{
    if (auto* swatch = dynamic_cast<Swatch*>(widget_.data()))
        return swatch->GetColor();
    return 0;
}

} // namespace fw
