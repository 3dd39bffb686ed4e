#include "platform/win/ScriptedModalServices.h"

#include <algorithm>

namespace win {

void ScriptedModalServices::AnswerNext(int answer)
{
    answers_.push_back({ Kind::message, answer, {}, 0 });
}

void ScriptedModalServices::AnswerNextFile(int answer, std::string path)
{
    answers_.push_back({ Kind::file, answer, std::move(path), 0 });
}

void ScriptedModalServices::AnswerNextColour(int answer, COLORREF colour)
{
    answers_.push_back({ Kind::colour, answer, {}, colour });
}

void ScriptedModalServices::AnswerNextPrint(int answer, std::string outputFile)
{
    answers_.push_back({ Kind::print, answer, std::move(outputFile), 0 });
}

void ScriptedModalServices::AnswerNextPreview(int answer, PreviewDevice device)
{
    answers_.push_back({ Kind::preview, answer, {}, 0, {}, std::move(device) });
}

void ScriptedModalServices::AnswerNextDialog(UINT dialogId, std::function<void(ModalDialog&)> script)
{
    answers_.push_back({ Kind::dialog, static_cast<int>(dialogId), {}, 0, std::move(script) });
}

std::optional<ScriptedModalServices::Answer> ScriptedModalServices::Take(
    Kind kind, const std::string& what, UINT dialogId)
{
    if (answers_.empty() || answers_.front().kind != kind
        || (kind == Kind::dialog && answers_.front().id != static_cast<int>(dialogId))) {
        unexpected_.push_back("unexpected " + what);
        return std::nullopt;
    }
    std::optional<Answer> answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

int ScriptedModalServices::MessageBox(std::string_view text, UINT flags)
{
    shown_.push_back({ std::string(text), flags });
    return Respond(
        Kind::message, "message box: " + std::string(text), DismissAnswer(flags), [](const Answer&) {});
}

int ScriptedModalServices::MessageBoxUtf8(std::string_view text, UINT flags)
{
    const std::size_t before = shown_.size();
    const int answer = MessageBox(text, flags);
    if (shown_.size() > before)
        shown_.back().utf8 = true;
    return answer;
}

int ScriptedModalServices::FileDialog(const FileDialogRequest& request, std::string& path)
{
    fileDialogs_.push_back(request);
    const std::string what = std::string(request.open ? "open" : "save") + " file dialog: " + request.filter;
    return Respond(Kind::file, what, IDCANCEL, [&](const Answer& answer) { path = answer.text; });
}

int ScriptedModalServices::ColorDialog(COLORREF& colour, std::span<COLORREF, 16> customColours, DWORD flags)
{
    ColourAsked asked { colour, flags, {} };
    std::copy(customColours.begin(), customColours.end(), asked.customColours.begin());
    colourDialogs_.push_back(asked);
    return Respond(
        Kind::colour, "colour dialog", IDCANCEL, [&](const Answer& answer) { colour = answer.colour; });
}

int ScriptedModalServices::PrintDialog(PrintSetup& setup)
{
    printDialogs_.push_back(setup);
    return Respond(Kind::print, "print dialog", IDCANCEL, [&](const Answer& answer) {
        if (!answer.text.empty()) {
            setup.outputFile = answer.text;
            setup.printerName.clear();
        }
    });
}

int ScriptedModalServices::PrintPreview(const PrintRequest& request, const RenderPrinterPage& render)
{
    const std::size_t shown = previews_.size();
    previews_.push_back({ request, 0 });
    const std::optional<Answer> answer = Take(Kind::preview, "print preview");
    if (!answer)
        return IDCANCEL;
    for (int page = request.setup.minPage; page <= request.setup.maxPage; ++page) {
        render(answer->device(request, page), page);
        ++previews_[shown].pagesDrawn;
    }
    return answer->id;
}

int ScriptedModalServices::RunDialog(ModalDialog& dialog)
{
    const UINT id = dialog.GetDialogId();
    dialogs_.push_back(id);
    const std::string what = "dialog " + std::to_string(id) + " \"" + dialog.GetCaption() + "\"";
    // Taken off the queue first: modals the dialog raises take the answers after it.
    if (const std::optional<Answer> answer = Take(Kind::dialog, what, id)) {
        dialog.Show();
        if (answer->script)
            answer->script(dialog);
        if (!dialog.HasEnded())
            unexpected_.push_back(what + " left open by its script");
    }
    if (!dialog.HasEnded())
        dialog.Dismiss();
    return dialog.HasEnded() ? dialog.GetEndCode() : IDCANCEL;
}

} // namespace win
