// Everything that stops the program to ask the user: message boxes and the standard file,
// colour and print dialogs. The application installs the interactive implementation; tests
// install ScriptedModalServices, which answers from a script and records what was asked.
#pragma once

#include "platform/win/Types.h"

#include <span>
#include <string>
#include <string_view>

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

class ModalServices {
public:
    virtual ~ModalServices() = default;
    // Shows the text with the given MB_* style and returns the ID* answer.
    virtual int MessageBox(std::string_view text, UINT flags) = 0;
    // IDOK with the chosen path, or IDCANCEL (path untouched).
    virtual int FileDialog(const FileDialogRequest& request, std::string& path) = 0;
    // IDOK with the chosen colour, or IDCANCEL (colour untouched). The sixteen custom colours
    // are the caller's and may be changed in place; flags are CC_* bits.
    virtual int ColorDialog(COLORREF& colour, std::span<COLORREF, 16> customColours, DWORD flags) = 0;
    // IDOK with the setup as the user left it, or IDCANCEL (setup untouched).
    virtual int PrintDialog(PrintSetup& setup) = 0;
};

// The answer a box of the given style gives when it is dismissed without a choice (Escape, the
// close button): Cancel where the box has one, OK for a lone OK button, No for Yes/No.
int DismissAnswer(UINT flags);

} // namespace win
