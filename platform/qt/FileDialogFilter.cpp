#include "platform/qt/FileDialogFilter.h"

#include "platform/qt/Cp1252.h"

#include <string>
#include <vector>

namespace fw {

namespace {
std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t end = text.find(separator); end != std::string_view::npos;
         end = text.find(separator, start)) {
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    parts.push_back(text.substr(start));
    return parts;
}

QString ShownName(std::string_view name)
{
    QString shown = FromCp1252(name).trimmed();
    if (shown.endsWith(')')) {
        const qsizetype open = shown.lastIndexOf('(');
        if (open >= 0)
            shown = shown.left(open).trimmed();
    }
    return shown;
}

QStringList Patterns(std::string_view patterns)
{
    QStringList list;
    for (const std::string_view pattern : Split(patterns, ';')) {
        const QString trimmed = FromCp1252(pattern).trimmed();
        if (!trimmed.isEmpty())
            list << (trimmed == "*.*" ? QString("*") : trimmed);
    }
    return list;
}
} // namespace

QStringList ConvertFileFilter(std::string_view filter)
{
    QStringList filters;
    const std::vector<std::string_view> parts = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() || parts[i + 1].empty())
            break; // the "||" that ends the list
        const QStringList patterns = Patterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        const QString name = ShownName(parts[i]);
        filters << (name.isEmpty() ? patterns.join(' ') : name + " (" + patterns.join(' ') + ')');
    }
    return filters;
}

} // namespace fw
