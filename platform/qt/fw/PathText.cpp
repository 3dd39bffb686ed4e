#include "platform/qt/fw/PathText.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/DataExchange.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStringDecoder>

namespace fw {

QString PathToText(std::string_view path)
{
    // Stateless, and a leading byte order mark kept as a character: the text gives the bytes back.
    QStringDecoder utf8(QStringConverter::Utf8,
        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(QByteArrayView(path.data(), static_cast<qsizetype>(path.size())));
    return utf8.hasError() ? FromCp1252(path) : text;
}

std::string TextToPath(const QString& text, std::string_view held)
{
    if (text == PathToText(held))
        return std::string(held);
    return text.toStdString(); // UTF-8
}

namespace {

// The line edit of an edit control or of an editable combo box, or null.
QLineEdit* EditOf(Control& control)
{
    QWidget* widget = control.GetWidget();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit;
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->lineEdit();
    return nullptr;
}

} // namespace

void DDX_Path(DataExchange& dx, win::UINT id, std::string& path)
{
    QLineEdit* edit = EditOf(dx.PrepareEditCtrl(id));
    if (edit == nullptr)
        return;
    if (dx.m_bSaveAndValidate) {
        path = TextToPath(edit->text(), path);
        return;
    }
    const QString text = PathToText(path);
    if (edit->text() != text)
        edit->setText(text);
}

int InsertPath(Control& control, int index, std::string_view path)
{
    return control.InsertItem(
        index, PathToText(path), QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ItemPath(const Control& control, int index)
{
    return control.GetItemData(index).toStdString();
}

void DDX_CBPath(DataExchange& dx, win::UINT id, std::string& path)
{
    Control& list = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        const int selected = list.GetCurSel();
        path = selected >= 0 ? ItemPath(list, selected) : std::string();
        return;
    }
    int found = CB_ERR;
    for (int i = 0; i < list.GetCount() && found == CB_ERR; ++i)
        if (ItemPath(list, i) == path)
            found = i;
    list.SetCurSel(found);
}

} // namespace fw
