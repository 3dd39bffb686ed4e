#include "util/TextGroups.h"

void InsertBlankEvery(std::string& text, int groupSize)
{
    if (groupSize < 1)
        return;
    const auto size = static_cast<std::size_t>(groupSize);
    std::string grouped;
    grouped.reserve(text.size() + text.size() / size);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0 && i % size == 0)
            grouped += ' ';
        grouped += text[i];
    }
    text = std::move(grouped);
}
