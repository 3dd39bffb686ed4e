#include "util/ColumnLetters.h"

#include "records/CsvNumbers.h"
#include "util/CharClasses.h"

#include <algorithm>
#include <cstdint>
#include <limits>

std::string ColumnNumberToLetters(int number)
{
    std::string letters;
    for (int64_t rest = number; rest >= 1; rest = (rest - 1) / 26)
        letters.push_back(static_cast<char>('A' + (rest - 1) % 26));
    std::reverse(letters.begin(), letters.end());
    return letters;
}

int ColumnLettersToNumber(std::string_view text)
{
    if (text.empty())
        return 0;
    if (IsCDigit(text.front())) {
        int number = 0;
        return StringToInt(text, number) ? number : 0;
    }
    const std::size_t letters
        = std::find_if(text.begin(), text.end(), [](char c) { return !IsCAlpha(c); }) - text.begin();
    // A single letter stands alone or before a blank; after two or more the rest is ignored.
    if (letters == 0 || (letters == 1 && text.size() > 1 && text[1] != ' '))
        return 0;
    int64_t number = 0;
    for (const char c : text.substr(0, letters)) {
        number = number * 26 + (ToUpperAscii(c) - 'A' + 1);
        if (number > std::numeric_limits<int>::max())
            return 0;
    }
    return static_cast<int>(number);
}
