// The desktop's trash (the freedesktop.org trash of the user's home, or of the file's own
// volume), where deleted files can be restored from.
#pragma once

#include <string>

// Moves the file, link or folder tree to the trash, by the path's own bytes whatever their
// encoding; false with the last error set when it could not go there (it is then left where it
// was).
bool MoveToTrash(const std::string& path);
