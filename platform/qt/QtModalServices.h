// The interactive modal services of the running program: message boxes over QMessageBox
// (caption "Orvanel", the original's button sets and answers, each line of the text kept on one
// line where the screen has room), the file dialog over QFileDialog,
// the colour dialog over QColorDialog (sixteen custom colours kept), the print dialog over
// QPrintDialog and the print preview over QPrintPreviewDialog. The dialogs are built by the Make
// functions, which tests use to check them without running a modal loop. What the Qt dialogs
// remember of their own goes to a scratch folder while the services live, never to the user's
// configuration folder (see QtOwnSettings.h).
#pragma once

#include "platform/qt/QtOwnSettings.h"
#include "platform/win/ModalServices.h"

#include <memory>
#include <string>

class QFileDialog;
class QMessageBox;
class QPrintPreviewDialog;
class QPrinter;
class QString;
class QWidget;

namespace fw {

class QtModalServices : public win::ModalServices {
public:
    explicit QtModalServices(std::string caption = "Orvanel");

    int MessageBox(std::string_view text, win::UINT flags) override;
    int MessageBoxUtf8(std::string_view text, win::UINT flags) override;
    int FileDialog(const win::FileDialogRequest& request, std::string& path) override;
    int ColorDialog(
        win::COLORREF& colour, std::span<win::COLORREF, 16> customColours, win::DWORD flags) override;
    int PrintDialog(win::PrintSetup& setup) override;
    int PrintPreview(const win::PrintRequest& request, const win::RenderPrinterPage& render) override;

    // The box for the text and MB_* style, over the parent.
    std::unique_ptr<QMessageBox> MakeMessageBox(
        std::string_view text, win::UINT flags, QWidget* parent) const;
    // The same for a text in UTF-8 (U+FFFD for bytes that are not).
    std::unique_ptr<QMessageBox> MakeMessageBoxUtf8(
        std::string_view text, win::UINT flags, QWidget* parent) const;
    // The ID* answer of the button the user pressed in a box made by MakeMessageBox.
    static int AnswerOf(const QMessageBox& box, win::UINT flags);
    static std::unique_ptr<QFileDialog> MakeFileDialog(
        const win::FileDialogRequest& request, QWidget* parent);

    // A print preview and the printer it shows and prints on: the request's printer (Qt's default
    // one when it names none or one that is not there, a PDF file when there is no printer at all)
    // with the request's paper, orientation and margins. The dialog goes before its printer.
    struct PreviewWindow {
        std::unique_ptr<QPrinter> printer;
        std::unique_ptr<QPrintPreviewDialog> dialog;
        PreviewWindow();
        PreviewWindow(PreviewWindow&&) noexcept;
        ~PreviewWindow();
    };
    static PreviewWindow MakePrintPreview(
        const win::PrintRequest& request, win::RenderPrinterPage render, QWidget* parent);

    // Where Qt's own settings go while these services live.
    std::string OwnSettingsFolder() const { return ownSettings_.Folder(); }

private:
    std::unique_ptr<QMessageBox> MakeBox(const QString& text, win::UINT flags, QWidget* parent) const;

    std::string caption_;
    QtOwnSettingsScratch ownSettings_;
};

} // namespace fw
