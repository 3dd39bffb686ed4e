// Everything that stops the program to ask the user: message boxes for now. The application
// installs the interactive implementation; tests install ScriptedModalServices.
#pragma once

#include "platform/win/Types.h"

#include <string_view>

namespace win {

class ModalServices {
public:
    virtual ~ModalServices() = default;
    // Shows the text with the given MB_* style and returns the ID* answer.
    virtual int MessageBox(std::string_view text, UINT flags) = 0;
};

} // namespace win
