// Scripted modal services that also run the test's own code whenever a message box comes up,
// before it is answered: what a user could do meanwhile (resize the window, look at it).
#pragma once

#include "platform/win/ScriptedModalServices.h"

#include <functional>
#include <string_view>

class HookedModalServices : public win::ScriptedModalServices {
public:
    int MessageBox(std::string_view text, win::UINT flags) override
    {
        if (whileShown)
            whileShown(text);
        return ScriptedModalServices::MessageBox(text, flags);
    }

    std::function<void(std::string_view text)> whileShown;
};
