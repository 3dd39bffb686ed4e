#include "model/PackTemplateFile.h"

#include <fstream>

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
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return PackTemplateStatus::cannotOpen;
    return ReadPackTemplate(in, packs);
}
