// Copying, moving and deleting files and folders as the original platform's shell did it for the
// program: one source path (its last component may hold wildcards) and one target, no questions
// asked (a clash overwrites, folders on the way are made), a progress window unless silent, and
// deletions to the desktop's trash. Paths must be absolute and within the system's path limit.
// A folder is never copied or moved into itself, and the root folder is never deleted or moved.
// Every function returns true only when all of the work was done; a cancel gives false.
#pragma once

#include <string>

// With showErrors a failure is reported in a message box; a trailing '/' of either path is
// ignored. The wait cursor shows meanwhile.
bool ShellCopyFiles(const std::string& source, const std::string& target, bool showErrors);
bool ShellMoveFiles(const std::string& source, const std::string& target, bool showErrors);
// No error messages; a clash gives the copy a free "Copy of " name when renameOnCollision is
// set; silent shows no progress window.
bool ShellCopyFilesEx(
    const std::string& source, const std::string& target, bool renameOnCollision, bool silent);
bool ShellMoveFilesEx(
    const std::string& source, const std::string& target, bool renameOnCollision, bool silent);
// Moves the file or folder to the trash; with contentsOnly everything in the folder goes and
// the folder stays. An empty path, a relative one, or one that resolves to the root folder is
// refused.
bool ShellDeleteFiles(const std::string& path, bool showErrors, bool contentsOnly);
// Silent and without messages, the read-only attribute of the path cleared first when asked;
// the wait cursor shows meanwhile.
bool ShellDeleteFilesQuiet(const std::string& path, bool clearReadOnlyFirst);

// Copies the file beside itself under the first free name (FreeDuplicateName), showing progress.
bool DuplicateFileUnderFreeName(const std::string& path, bool markBeforeExtension);
