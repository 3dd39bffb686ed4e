#include "util/Scramble.h"

void ScrambleText(std::string& text, std::string_view key)
{
    if (key.empty())
        return;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto keyByte = static_cast<unsigned char>(key[(i / 3) % key.size()]) | 0x80u;
        text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) ^ keyByte);
    }
}

std::string ScrambleText(std::string_view text, std::string_view key)
{
    std::string copy(text);
    ScrambleText(copy, key);
    return copy;
}
