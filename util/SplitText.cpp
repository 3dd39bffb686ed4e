#include "util/SplitText.h"

void SplitText(std::string_view text, std::vector<std::string>& tokens, std::string_view delimiters)
{
    std::size_t start = text.find_first_not_of(delimiters);
    while (start != std::string_view::npos) {
        const std::size_t end = text.find_first_of(delimiters, start);
        tokens.emplace_back(text.substr(start, end - start));
        start = end == std::string_view::npos ? end : text.find_first_not_of(delimiters, end);
    }
}
