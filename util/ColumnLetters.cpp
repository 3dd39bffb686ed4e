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
    int64_t number = 0;
    for (const char c : text.substr(0, text.find(' '))) {
        if (!IsCAlpha(c))
            return 0;
        number = number * 26 + (ToUpperAscii(c) - 'A' + 1);
        if (number > std::numeric_limits<int>::max())
            return 0;
    }
    return static_cast<int>(number);
}
