// Creating a folder that the program needs, with a message the user can act on.
#pragma once

#include "util/Pause.h"

#include <string>

// Creates the folder. True when it was made or a folder of that name is already there; false
// when it could not be made, or when something that is not a folder stands in the way. On
// failure, with showMessage set, shows "Could not create the <description> folder: <path>", the
// reason and "Please fix the problem and try again". Then, whatever the outcome, waits until the
// path is seen to exist: up to four looks, with a pause of one second between them.
bool CreateFolderWithRetry(
    const std::string& path, const std::string& description, bool showMessage, const Pause& pause = SleepFor);
