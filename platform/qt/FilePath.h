// Paths cross into Qt here: the program holds a path as the bytes the file system names the file
// with, Qt as a QString in the system's file-name encoding (QFile's decodeName and encodeName).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace fw {

inline QString FromFilePath(std::string_view path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

inline std::string ToFilePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace fw
