// The desktop's trash (the freedesktop.org trash of the user's home, or of the file's own
// volume), where deleted files can be restored from.
#pragma once

#include <optional>
#include <string>

// Moves the file, link or folder tree to the trash, by the path's own bytes whatever their
// encoding; false with the last error set when it could not go there (it is then left where it
// was).
bool MoveToTrash(const std::string& path);

// Where the trashes are looked for: the user's own trash folder (none without a home) and the top
// folder of the volume that holds the file (none: found by walking up to where the file system
// changes).
struct TrashPlaces {
    std::optional<std::string> home;
    std::optional<std::string> volumeTop;
};

// The places of the desktop's trash: the home's from $XDG_DATA_HOME or $HOME, the volume's top
// found from the file.
TrashPlaces DesktopTrashPlaces();

// MoveToTrash with the trashes looked for in the given places.
bool MoveToTrashIn(const std::string& path, const TrashPlaces& places);
