#include "platform/qt/QtModalServices.h"

#include "platform/qt/Cp1252.h"
#include "platform/qt/FileDialogFilter.h"
#include "platform/qt/FilePath.h"
#include "platform/qt/MessageBoxLines.h"
#include "platform/qt/PrinterSetup.h"
#include "platform/qt/QtColour.h"
#include "platform/qt/QtDeviceContext.h"
#include "platform/qt/fw/Guard.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <array>
#include <utility>

namespace fw {

namespace {
struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of each MB_* set, in the order shown, with their answers.
std::vector<ButtonAnswer> ButtonsOf(win::UINT flags)
{
    switch (flags & win::MB_TYPEMASK) {
    case win::MB_OKCANCEL:
        return { { QMessageBox::Ok, win::IDOK }, { QMessageBox::Cancel, win::IDCANCEL } };
    case win::MB_ABORTRETRYIGNORE:
        return { { QMessageBox::Abort, win::IDABORT }, { QMessageBox::Retry, win::IDRETRY },
            { QMessageBox::Ignore, win::IDIGNORE } };
    case win::MB_YESNOCANCEL:
        return { { QMessageBox::Yes, win::IDYES }, { QMessageBox::No, win::IDNO },
            { QMessageBox::Cancel, win::IDCANCEL } };
    case win::MB_YESNO:
        return { { QMessageBox::Yes, win::IDYES }, { QMessageBox::No, win::IDNO } };
    case win::MB_RETRYCANCEL:
        return { { QMessageBox::Retry, win::IDRETRY }, { QMessageBox::Cancel, win::IDCANCEL } };
    default:
        return { { QMessageBox::Ok, win::IDOK } };
    }
}

QMessageBox::Icon IconOf(win::UINT flags)
{
    switch (flags & win::MB_ICONMASK) {
    case win::MB_ICONHAND:
        return QMessageBox::Critical;
    case win::MB_ICONQUESTION:
        return QMessageBox::Question;
    case win::MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case win::MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QtModalServices::QtModalServices(std::string caption)
    : caption_(std::move(caption))
{
}

std::unique_ptr<QMessageBox> QtModalServices::MakeMessageBox(
    std::string_view text, win::UINT flags, QWidget* parent) const
{
    return MakeBox(FromCp1252(text), flags, parent);
}

std::unique_ptr<QMessageBox> QtModalServices::MakeMessageBoxUtf8(
    std::string_view text, win::UINT flags, QWidget* parent) const
{
    return MakeBox(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), flags, parent);
}

std::unique_ptr<QMessageBox> QtModalServices::MakeBox(
    const QString& text, win::UINT flags, QWidget* parent) const
{
    auto box = std::make_unique<QMessageBox>(
        IconOf(flags), FromCp1252(caption_), text, QMessageBox::NoButton, parent);
    const std::vector<ButtonAnswer> buttons = ButtonsOf(flags);
    for (const ButtonAnswer& b : buttons)
        box->addButton(b.button);
    box->setDefaultButton(buttons.front().button);
    const int dismissed = win::DismissAnswer(flags);
    for (const ButtonAnswer& b : buttons)
        if (b.answer == dismissed)
            box->setEscapeButton(b.button);
    KeepMessageLinesWhole(*box);
    return box;
}

int QtModalServices::AnswerOf(const QMessageBox& box, win::UINT flags)
{
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonAnswer& b : ButtonsOf(flags))
        if (b.button == pressed)
            return b.answer;
    return win::DismissAnswer(flags);
}

int QtModalServices::MessageBox(std::string_view text, win::UINT flags)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBox(text, flags, QApplication::activeWindow());
    box->exec();
    return AnswerOf(*box, flags);
}

int QtModalServices::MessageBoxUtf8(std::string_view text, win::UINT flags)
{
    const std::unique_ptr<QMessageBox> box = MakeMessageBoxUtf8(text, flags, QApplication::activeWindow());
    box->exec();
    return AnswerOf(*box, flags);
}

std::unique_ptr<QFileDialog> QtModalServices::MakeFileDialog(
    const win::FileDialogRequest& request, QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog->setFileMode(request.open && (request.flags & win::OFN_FILEMUSTEXIST) != 0
            ? QFileDialog::ExistingFile
            : QFileDialog::AnyFile);
    QFileDialog::Options options = dialog->options();
    options.setFlag(QFileDialog::DontConfirmOverwrite, (request.flags & win::OFN_OVERWRITEPROMPT) == 0);
    dialog->setOptions(options);
    const QStringList filters = ConvertFileFilter(request.filter);
    if (!filters.isEmpty())
        dialog->setNameFilters(filters);
    dialog->setDefaultSuffix(FromFilePath(request.defaultExt));
    if (!request.fileName.empty()) {
        const QFileInfo initial(FromFilePath(request.fileName));
        if (request.fileName.find('/') != std::string::npos)
            dialog->setDirectory(initial.absolutePath());
        dialog->selectFile(initial.fileName());
    }
    return dialog;
}

int QtModalServices::FileDialog(const win::FileDialogRequest& request, std::string& path)
{
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, QApplication::activeWindow());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return win::IDCANCEL;
    path = ToFilePath(dialog->selectedFiles().front());
    return win::IDOK;
}

int QtModalServices::ColorDialog(
    win::COLORREF& colour, std::span<win::COLORREF, 16> customColours, win::DWORD flags)
{
    for (int i = 0; i < 16; ++i)
        QColorDialog::setCustomColor(i, ToQColor(customColours[static_cast<std::size_t>(i)]));
    QColorDialog dialog(
        (flags & win::CC_RGBINIT) != 0 ? ToQColor(colour) : QColor(Qt::black), QApplication::activeWindow());
    const bool accepted = dialog.exec() == QDialog::Accepted;
    // Custom colours the user defined are kept even when the dialog is cancelled.
    for (int i = 0; i < 16; ++i)
        customColours[static_cast<std::size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    if (!accepted)
        return win::IDCANCEL;
    colour = FromQColor(dialog.selectedColor());
    return win::IDOK;
}

int QtModalServices::PrintDialog(win::PrintSetup& setup)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!setup.printerName.empty())
        printer.setPrinterName(FromCp1252(setup.printerName));
    if (!setup.outputFile.empty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FromFilePath(setup.outputFile));
    }
    printer.setPageOrientation(PageOrientationOf(setup.orientation));
    printer.setCopyCount(setup.copies);
    printer.setFromTo(setup.fromPage, setup.toPage);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(setup.minPage, setup.maxPage);
    if (dialog.exec() != QDialog::Accepted)
        return win::IDCANCEL;
    setup.printerName = ToCp1252(printer.printerName());
    setup.outputFile
        = printer.outputFormat() == QPrinter::PdfFormat ? ToFilePath(printer.outputFileName()) : "";
    setup.orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? win::DMORIENT_LANDSCAPE
                                                                                     : win::DMORIENT_PORTRAIT;
    setup.fromPage = printer.fromPage() == 0 ? setup.minPage : printer.fromPage();
    setup.toPage = printer.toPage() == 0 ? setup.maxPage : printer.toPage();
    setup.copies = printer.copyCount();
    return win::IDOK;
}

QtModalServices::PreviewWindow::PreviewWindow() = default;
QtModalServices::PreviewWindow::PreviewWindow(PreviewWindow&&) noexcept = default;
QtModalServices::PreviewWindow::~PreviewWindow() = default;

QtModalServices::PreviewWindow QtModalServices::MakePrintPreview(
    const win::PrintRequest& request, win::RenderPrinterPage render, QWidget* parent)
{
    PreviewWindow window;
    window.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrinter& printer = *window.printer;
    const std::string& name = request.setup.printerName;
    if (!name.empty() && !QPrinterInfo::printerInfo(FromCp1252(name)).isNull())
        printer.setPrinterName(FromCp1252(name));
    ApplyPrinterSettings(printer, name, request.deviceMode);
    ApplyPageRequest(printer, request);
    printer.setFromTo(request.setup.fromPage, request.setup.toPage);
    window.dialog = std::make_unique<QPrintPreviewDialog>(&printer, parent);
    // Asked again whenever the preview is redrawn, and once more onto the printer when the user
    // prints from it: the pages on one printer device context, each on a page of its own. Qt's
    // signal lets no exception through: a page that fails is reported and ends the drawing.
    const win::PrintSetup setup = request.setup;
    QObject::connect(window.dialog.get(), &QPrintPreviewDialog::paintRequested, window.dialog.get(),
        [render = std::move(render), setup](QPrinter* target) {
            gdi::QtDeviceContext dc(*target, true);
            if (!dc.IsActive())
                return;
            for (int page = setup.minPage; page <= setup.maxPage; ++page) {
                if (page > setup.minPage && !target->newPage())
                    return;
                if (!GuardedCall([&] { render(dc, page); }))
                    return;
            }
        });
    return window;
}

int QtModalServices::PrintPreview(const win::PrintRequest& request, const win::RenderPrinterPage& render)
{
    const PreviewWindow window = MakePrintPreview(request, render, QApplication::activeWindow());
    return window.dialog->exec() == QDialog::Accepted ? win::IDOK : win::IDCANCEL;
}

} // namespace fw
