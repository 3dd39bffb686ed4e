#include "platform/win/ScriptedModalServices.h"

namespace win {

int ScriptedModalServices::MessageBox(std::string_view text, UINT flags)
{
    shown_.push_back({ std::string(text), flags });
    if (answers_.empty())
        throw UnexpectedModal("unexpected message box: " + std::string(text));
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
}

} // namespace win
