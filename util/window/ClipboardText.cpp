#include "util/window/ClipboardText.h"

#include "platform/qt/Cp1252.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* Clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
        ? QGuiApplication::clipboard()
        : nullptr;
}

} // namespace

bool GetClipboardText(std::string& text)
{
    QClipboard* const clipboard = Clipboard();
    const QMimeData* const data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasText())
        return false;
    text = fw::ToCp1252(data->text());
    return true;
}

bool SetClipboardText(std::string_view text)
{
    QClipboard* const clipboard = Clipboard();
    if (clipboard == nullptr)
        return false;
    const QString unicode = fw::FromCp1252(text);
    clipboard->setText(unicode);
    return clipboard->text() == unicode;
}
