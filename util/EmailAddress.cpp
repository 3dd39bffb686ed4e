#include "util/EmailAddress.h"

#include "util/CharClasses.h"

#include <algorithm>

namespace {

bool IsAddressCharacter(char c)
{
    return IsCAlnum(c) || std::string_view("&+-.=@^_~").find(c) != std::string_view::npos;
}

} // namespace

bool IsValidEmailAddress(std::string_view text)
{
    if (!std::all_of(text.begin(), text.end(), IsAddressCharacter))
        return false;
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos || at == 0 || at + 1 == text.size()
        || text.find('@', at + 1) != std::string_view::npos)
        return false;
    if (text[at - 1] == '.' || text[at + 1] == '.' || text.find('.', at + 1) == std::string_view::npos)
        return false;
    const std::size_t lastDot = text.rfind('.');
    const std::string_view topLevel = text.substr(lastDot + 1);
    return (topLevel.size() >= 2 && topLevel.size() <= 4) || topLevel == "museum";
}
