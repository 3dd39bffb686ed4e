// A test double for the modal services: answers every message box and dialog from a script the
// test queued, in order, and records what was asked. A modal that the script does not expect
// (none queued, or the next answer is for another kind of modal) is recorded as unexpected and
// dismissed as the user's Escape would (Cancel); nothing is thrown, so that it is also safe
// inside Qt's event dispatch. Test fixtures fail the test when Unexpected() is not empty.
#pragma once

#include "platform/win/ModalServices.h"

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace win {

class ScriptedModalServices : public ModalServices {
public:
    struct Shown {
        std::string text;
        UINT flags = 0;
        bool utf8 = false; // the text is UTF-8, not the code page's
    };
    struct PreviewShown {
        PrintRequest request;
        int pagesDrawn = 0;
    };
    // The device a scripted preview draws a page on: the test's own (a recording device of a
    // printer's printable area, a picture), valid until the preview ends.
    using PreviewDevice = std::function<gdi::DeviceContext&(const PrintRequest& request, int page)>;
    struct ColourAsked {
        COLORREF initial = 0;
        DWORD flags = 0;
        std::array<COLORREF, 16> customColours {};
    };

    // Queues the answer to the next message box.
    void AnswerNext(int answer);
    // Queues the answer to the next file dialog: IDOK with the path chosen, or IDCANCEL.
    void AnswerNextFile(int answer, std::string path = {});
    // Queues the answer to the next colour dialog: IDOK with the colour chosen, or IDCANCEL.
    void AnswerNextColour(int answer, COLORREF colour = 0);
    // Queues the answer to the next print dialog: IDOK (printing to the output file when one is
    // given, else to the printer the setup names), or IDCANCEL.
    void AnswerNextPrint(int answer, std::string outputFile = {});
    // Queues the answer to the next print preview: each of its pages is drawn on the device the
    // test gives for it, as the user would see it, then the preview ends with the answer (IDOK:
    // printed from the preview, IDCANCEL: closed). An unexpected preview draws nothing.
    void AnswerNextPreview(int answer, PreviewDevice device);

    // Queues the script of the next dialog of the program's own, which must have the given
    // template id. The script gets the dialog, shown and initialised, and ends it as a user
    // would (filling controls, pressing OK or Cancel); the dialog's end code is DoModal's answer.
    // A script that leaves the dialog open is recorded as unexpected and the dialog dismissed.
    void AnswerNextDialog(UINT dialogId, std::function<void(ModalDialog&)> script);

    int MessageBox(std::string_view text, UINT flags) override;
    // Goes through MessageBox (so that a test's own MessageBox sees every box), recorded as UTF-8.
    int MessageBoxUtf8(std::string_view text, UINT flags) override;
    int FileDialog(const FileDialogRequest& request, std::string& path) override;
    int ColorDialog(COLORREF& colour, std::span<COLORREF, 16> customColours, DWORD flags) override;
    int PrintDialog(PrintSetup& setup) override;
    int PrintPreview(const PrintRequest& request, const RenderPrinterPage& render) override;
    int RunDialog(ModalDialog& dialog) override;

    const std::vector<Shown>& Messages() const { return shown_; }
    const std::vector<FileDialogRequest>& FileDialogs() const { return fileDialogs_; }
    const std::vector<ColourAsked>& ColourDialogs() const { return colourDialogs_; }
    const std::vector<PrintSetup>& PrintDialogs() const { return printDialogs_; }
    const std::vector<PreviewShown>& Previews() const { return previews_; }
    // The template ids of the program's own dialogs run so far.
    const std::vector<UINT>& Dialogs() const { return dialogs_; }
    // One line for each modal that nothing in the script answered.
    const std::vector<std::string>& Unexpected() const { return unexpected_; }
    void ClearUnexpected() { unexpected_.clear(); }
    bool AllAnswersUsed() const { return answers_.empty(); }

private:
    enum class Kind { message, file, colour, print, preview, dialog };
    struct Answer {
        Kind kind = Kind::message;
        int id = IDCANCEL; // the template id for a dialog
        std::string text;
        COLORREF colour = 0;
        std::function<void(ModalDialog&)> script = {};
        PreviewDevice device = {};
    };
    // Takes the next queued answer off the queue when it is of the given kind (a dialog's also of
    // the given template id); else records the modal as unexpected and gives nothing.
    std::optional<Answer> Take(Kind kind, const std::string& what, UINT dialogId = 0);
    // Takes the next answer, lets onOk apply an IDOK answer and returns the answer's id; dismissed
    // when nothing answers the modal.
    template <class OnOk> int Respond(Kind kind, const std::string& what, int dismissed, OnOk onOk)
    {
        const std::optional<Answer> answer = Take(kind, what);
        if (!answer)
            return dismissed;
        if (answer->id == IDOK)
            onOk(*answer);
        return answer->id;
    }

    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    std::vector<FileDialogRequest> fileDialogs_;
    std::vector<ColourAsked> colourDialogs_;
    std::vector<PrintSetup> printDialogs_;
    std::vector<PreviewShown> previews_;
    std::vector<UINT> dialogs_;
    std::vector<std::string> unexpected_;
};

} // namespace win
