// What the file tree keeps in each item, beside its text and icon. Paths and names are kept as the
// bytes the file system names them with, whatever their encoding; only the text shown is decoded.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <Qt>

#include <string>
#include <string_view>

constexpr int kPathRole = Qt::UserRole; // the full path, as bytes
constexpr int kFileRole = Qt::UserRole + 1; // a file, not a folder
constexpr int kNameRole = Qt::UserRole + 2; // the name with its extension, as bytes, for lookup and sorting
constexpr int kImageRole = Qt::UserRole + 3; // index into the system image list
constexpr int kOpenImageRole = Qt::UserRole + 4; // the same, for the item shown open
constexpr int kExtensionHiddenRole = Qt::UserRole + 5; // the text shown is the name without its extension

inline QVariant BytesValue(std::string_view bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string BytesOf(const QVariant& value)
{
    const QByteArray bytes = value.toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The text shown for a name: UTF-8, with U+FFFD for each byte sequence that is not.
inline QString LabelOf(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
