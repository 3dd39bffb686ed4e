// What the file tree keeps in each item, beside its text and icon.
#pragma once

#include <Qt>

constexpr int kPathRole = Qt::UserRole; // the full path
constexpr int kFileRole = Qt::UserRole + 1; // a file, not a folder
constexpr int kNameRole = Qt::UserRole + 2; // the name with its extension, for lookup and sorting
constexpr int kImageRole = Qt::UserRole + 3; // index into the system image list
constexpr int kOpenImageRole = Qt::UserRole + 4; // the same, for the item shown open
constexpr int kExtensionHiddenRole = Qt::UserRole + 5; // the text shown is the name without its extension
