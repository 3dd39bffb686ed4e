#include "util/CaseConversion.h"

#include "util/CharClasses.h"

void ToUpperCase(std::string& text)
{
    for (char& c : text)
        c = ToUpperAscii(c);
}

void ToLowerCase(std::string& text)
{
    for (char& c : text)
        c = ToLowerAscii(c);
}

std::string ToUpperCase(std::string_view text)
{
    std::string copy(text);
    ToUpperCase(copy);
    return copy;
}

std::string ToLowerCase(std::string_view text)
{
    std::string copy(text);
    ToLowerCase(copy);
    return copy;
}

std::string ToTitleCase(std::string_view text)
{
    std::string copy(text);
    ToTitleCase(copy);
    return copy;
}
