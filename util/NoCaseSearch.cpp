#include "util/NoCaseSearch.h"

#include "records/AsciiCase.h"

#include <string>

std::ptrdiff_t FindLastNoCase(std::string_view text, std::string_view wanted)
{
    const std::size_t found = ToUpperAscii(text).rfind(ToUpperAscii(wanted));
    return found == std::string::npos ? -1 : static_cast<std::ptrdiff_t>(found);
}
