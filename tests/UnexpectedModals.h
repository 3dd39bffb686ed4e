// Scripted modal services dismiss a message box or dialog that the test did not script and
// record it; fixtures call this in their tear-down, before resetting the application object,
// so that such a modal fails the test.
#pragma once

#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"

#include <gtest/gtest.h>

#include <string>

inline void ExpectNoUnexpectedModals(win::ScriptedModalServices& modal)
{
    for (const std::string& line : modal.Unexpected())
        ADD_FAILURE() << line;
    modal.ClearUnexpected();
}

// The same for the services the application object holds, when they are scripted ones.
inline void ExpectNoUnexpectedModals()
{
    if (auto* scripted = dynamic_cast<win::ScriptedModalServices*>(&win::AppContext::Instance().Modal()))
        ExpectNoUnexpectedModals(*scripted);
}
