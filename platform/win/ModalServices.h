// Everything that stops the program to ask the user: message boxes, the standard file, colour
// and print dialogs, and the print preview. The application installs the interactive
// implementation; tests install ScriptedModalServices, which answers from a script and records
// what was asked.
#pragma once

#include "platform/win/PrinterSettings.h"
#include "platform/win/Types.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace gdi {
class DeviceContext;
}

namespace win {

// What a file dialog is asked to show, in the original's terms: the filter is
// "Name (*.ext)|*.ext|...||", flags are OFN_* bits.
struct FileDialogRequest {
    bool open = true; // an open dialog, else a save dialog
    std::string defaultExt;
    std::string fileName; // the initial file name, possibly with its folder
    DWORD flags = 0;
    std::string filter;
};

// The printer and pages a print dialog starts from and, after OK, what the user chose. An
// empty printer name means the default printer; an output file means printing to that PDF file.
struct PrintSetup {
    std::string printerName;
    std::string outputFile;
    short orientation = DMORIENT_PORTRAIT;
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
    int copies = 1;
};

// What a print goes to before a printer is made for it: the print dialog's setup, the printer
// settings supplied with it (the paper's size and orientation) and the page margins (left, top,
// right, bottom, tenths of a millimetre; none keeps the printer's own).
struct PrintRequest {
    PrintSetup setup;
    std::optional<DeviceMode> deviceMode;
    std::optional<RECT> pageMargins;
};

// Draws one page of a print (numbered from the setup's first page) on a printer's device context,
// as printing draws it: the print preview shows what this draws.
using RenderPrinterPage = std::function<void(gdi::DeviceContext& dc, int page)>;

// A dialog of the program's own while its DoModal runs it. The interactive services let it run
// its own modal loop; the scripted ones hand it to the test's script, which fills its controls
// and presses its buttons.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    // The template's id and caption, for the script and the record.
    virtual UINT GetDialogId() const = 0;
    virtual std::string GetCaption() const = 0;
    // Shows the dialog and waits in its own loop until it ends; returns its end code.
    virtual int RunModalLoop() = 0;
    // Shows the dialog without a loop of its own (a scripted run).
    virtual void Show() = 0;
    // Whether EndDialog has been called, and with which code.
    virtual bool HasEnded() const = 0;
    virtual int GetEndCode() const = 0;
    // What the Escape key does: the dialog's cancel.
    virtual void Dismiss() = 0;
};

class ModalServices {
public:
    virtual ~ModalServices() = default;
    // Shows the text with the given MB_* style and returns the ID* answer.
    virtual int MessageBox(std::string_view text, UINT flags) = 0;
    // The same with the text in UTF-8: for messages that name files, whose names the code page
    // cannot hold.
    virtual int MessageBoxUtf8(std::string_view text, UINT flags) = 0;
    // IDOK with the chosen path, or IDCANCEL (path untouched).
    virtual int FileDialog(const FileDialogRequest& request, std::string& path) = 0;
    // IDOK with the chosen colour, or IDCANCEL (colour untouched). The sixteen custom colours
    // are the caller's and may be changed in place; flags are CC_* bits.
    virtual int ColorDialog(COLORREF& colour, std::span<COLORREF, 16> customColours, DWORD flags) = 0;
    // IDOK with the setup as the user left it, or IDCANCEL (setup untouched).
    virtual int PrintDialog(PrintSetup& setup) = 0;
    // Shows the pages of the request (setup.minPage to setup.maxPage) as they would print, each
    // drawn by render on the preview's printer device context, until the user closes the preview:
    // IDOK when the pages were printed from it, IDCANCEL when it was closed.
    virtual int PrintPreview(const PrintRequest& request, const RenderPrinterPage& render) = 0;
    // Runs the program's own dialog until it ends and returns its end code (IDOK, IDCANCEL, or
    // what the dialog chose).
    virtual int RunDialog(ModalDialog& dialog) { return dialog.RunModalLoop(); }
};

// The answer a box of the given style gives when it is dismissed without a choice (Escape, the
// close button): Cancel where the box has one, OK for a lone OK button, No for Yes/No.
int DismissAnswer(UINT flags);

} // namespace win
