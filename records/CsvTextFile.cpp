#include "records/CsvTextFile.h"

#include "platform/win/RegularFile.h"

#include <utility>

CsvTextFile LoadCsvTextFile(const std::string& path)
{
    win::RegularFileBytes file = win::ReadRegularFile(path);
    CsvTextFile result;
    result.error = file.error;
    switch (file.status) {
    case win::RegularFileStatus::read:
        if (!CsvFieldsWithin(file.bytes)) {
            result.status = CsvTextFileStatus::damaged;
            break;
        }
        result.status = CsvTextFileStatus::loaded;
        result.bytes = std::move(file.bytes);
        break;
    case win::RegularFileStatus::cannotOpen:
        result.status = CsvTextFileStatus::cannotOpen;
        break;
    case win::RegularFileStatus::tooLarge:
        result.status = CsvTextFileStatus::damaged;
        break;
    }
    return result;
}

bool CsvFieldsWithin(std::string_view text, std::size_t maxField)
{
    bool quoted = false;
    std::size_t length = 0;
    for (const char c : text) {
        // Every quote turns quoting on or off ("" inside quotes turns it off and on again).
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ',' || c == '\r' || c == '\n')) {
            length = 0;
            continue;
        }
        if (++length > maxField)
            return false;
    }
    return true;
}
