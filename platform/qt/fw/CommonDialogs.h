// The framework's message box and the standard file and colour dialogs, as the program calls
// them. Each goes through the modal services (win::AppContext), so that tests answer them.
#pragma once

#include "platform/win/ModalServices.h"
#include "platform/win/Types.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace fw {

// Shows the text with the MB_* style and returns the ID* answer.
int AfxMessageBox(std::string_view text, win::UINT type = win::MB_OK);
// The same with the text in UTF-8, for messages that name files.
int AfxMessageBoxUtf8(std::string_view text, win::UINT type = win::MB_OK);

class FileDialog {
public:
    // An open dialog (open set) or a save dialog, with the default extension, the initial file
    // name, OFN_* flags and a filter "Name (*.ext)|*.ext||".
    FileDialog(win::BOOL open, std::string_view defaultExt = {}, std::string_view fileName = {},
        win::DWORD flags = win::OFN_HIDEREADONLY | win::OFN_OVERWRITEPROMPT, std::string_view filter = {});

    // IDOK or IDCANCEL.
    int DoModal();
    const std::string& GetPathName() const { return path_; }
    const win::FileDialogRequest& Request() const { return request_; }

private:
    win::FileDialogRequest request_;
    std::string path_;
};

class ColorDialog {
public:
    explicit ColorDialog(win::COLORREF initial = 0, win::DWORD flags = 0);

    // IDOK or IDCANCEL. The custom colours are those lpCustColors points at when set (which the
    // dialog may change), else the dialog's own.
    int DoModal();
    win::COLORREF GetColor() const { return colour_; }

    struct {
        win::DWORD Flags = 0;
        win::COLORREF rgbResult = 0;
        std::array<win::COLORREF, 16>* lpCustColors = nullptr;
    } m_cc;

private:
    win::COLORREF colour_;
    std::array<win::COLORREF, 16> ownCustomColours_ {};
};

} // namespace fw
