#include "util/DigitReading.h"

#include "util/CharClasses.h"

#include <limits>

std::size_t ReadDigitRun(std::string_view text, std::size_t position, int& number)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    number = 0;
    bool growing = true;
    for (; position < text.size() && IsCDigit(text[position]); ++position) {
        const int digit = text[position] - '0';
        if (growing && number <= (kMax - digit) / 10)
            number = number * 10 + digit;
        else
            growing = false;
    }
    return position;
}

std::size_t ReadLeadingNumber(std::string_view text, std::size_t position, int& number)
{
    position = ReadDigitRun(text, position, number);
    return position < text.size() ? position + 1 : position;
}
