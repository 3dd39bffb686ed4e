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

const ScriptedModalServices::Answer* ScriptedModalServices::Take(Kind kind, const std::string& what)
{
    if (!answers_.empty() && answers_.front().kind == kind)
        return &answers_.front();
    unexpected_.push_back("unexpected " + what);
    return nullptr;
}

int ScriptedModalServices::MessageBox(std::string_view text, UINT flags)
{
    shown_.push_back({ std::string(text), flags });
    const Answer* answer = Take(Kind::message, "message box: " + std::string(text));
    if (answer == nullptr)
        return DismissAnswer(flags);
    const int id = answer->id;
    Pop();
    return id;
}

int ScriptedModalServices::FileDialog(const FileDialogRequest& request, std::string& path)
{
    fileDialogs_.push_back(request);
    const Answer* answer
        = Take(Kind::file, std::string(request.open ? "open" : "save") + " file dialog: " + request.filter);
    if (answer == nullptr)
        return IDCANCEL;
    const int id = answer->id;
    if (id == IDOK)
        path = answer->text;
    Pop();
    return id;
}

int ScriptedModalServices::ColorDialog(COLORREF& colour, std::span<COLORREF, 16> customColours, DWORD flags)
{
    ColourAsked asked { colour, flags, {} };
    std::copy(customColours.begin(), customColours.end(), asked.customColours.begin());
    colourDialogs_.push_back(asked);
    const Answer* answer = Take(Kind::colour, "colour dialog");
    if (answer == nullptr)
        return IDCANCEL;
    const int id = answer->id;
    if (id == IDOK)
        colour = answer->colour;
    Pop();
    return id;
}

int ScriptedModalServices::PrintDialog(PrintSetup& setup)
{
    printDialogs_.push_back(setup);
    const Answer* answer = Take(Kind::print, "print dialog");
    if (answer == nullptr)
        return IDCANCEL;
    const int id = answer->id;
    if (id == IDOK && !answer->text.empty()) {
        setup.outputFile = answer->text;
        setup.printerName.clear();
    }
    Pop();
    return id;
}

} // namespace win
