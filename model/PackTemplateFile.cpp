#include "model/PackTemplateFile.h"

#include "records/CsvTextFile.h"

#include <cerrno>
#include <sstream>
#include <utility>

std::string NotAPackTemplateMessage(const std::string& path)
{
    return path + " is not a pack template file";
}

PackTemplateStatus ReadPackTemplate(std::istream& in, PacksCollection& packs)
{
    CsvCursor cursor(in);
    std::string first;
    if (!cursor.Text(first) || first != "Pack Template")
        return PackTemplateStatus::notATemplate;
    packs.ReadCsv(cursor);
    return PackTemplateStatus::read;
}

PackTemplateStatus ReadPackTemplateFile(const std::string& path, PacksCollection& packs)
{
    CsvTextFile file = LoadCsvTextFile(path);
    if (file.status == CsvTextFileStatus::cannotOpen) {
        errno = file.error;
        return PackTemplateStatus::cannotOpen;
    }
    if (file.status == CsvTextFileStatus::damaged)
        return PackTemplateStatus::notATemplate;
    std::istringstream in(std::move(file.bytes));
    return ReadPackTemplate(in, packs);
}
