#include "util/TextShortening.h"

#include <cstdint>

void StripTags(std::string& text)
{
    std::string kept;
    kept.reserve(text.size());
    bool inTag = false;
    for (const char c : text) {
        if (inTag)
            inTag = c != '>';
        else if (c == '<')
            inTag = true;
        else
            kept.push_back(c);
    }
    text = std::move(kept);
}

void AbbreviateMiddle(std::string& text, int width)
{
    const auto length = static_cast<int64_t>(text.size());
    if (width >= length || length <= 5)
        return;
    if (width <= 3) {
        text = "...";
        return;
    }
    const auto head = static_cast<std::size_t>(width / 2 - 1);
    const auto tail = static_cast<std::size_t>(width - width / 2 - 2);
    text = text.substr(0, head) + "..." + text.substr(text.size() - tail);
}
