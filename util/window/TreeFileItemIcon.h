// The icon a file tree item shows: its image from the system image list, and its open image while
// the item is selected (a folder shows itself opened); a shared folder or drive carries the share
// overlay on both.
#pragma once

#include <QIcon>

QIcon TreeFileItemIcon(int image, int openImage, bool shared);
