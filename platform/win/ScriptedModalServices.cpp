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

int ScriptedModalServices::MessageBox(std::string_view text, UINT flags)
{
    shown_.push_back({ std::string(text), flags });
    return Respond(
        Kind::message, "message box: " + std::string(text), DismissAnswer(flags), [](const Answer&) {});
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

} // namespace win
