#include "util/ReferenceText.h"

#include "util/CaseConversion.h"
#include "util/CharClasses.h"
#include "util/CheckDigits.h"

#include <cstdint>
#include <string_view>

namespace {

struct CharacterCounts {
    int digits = 0;
    int letters = 0;
    int others = 0;
    std::size_t lastLetter = std::string::npos;
};

CharacterCounts CountCharacters(const std::string& text)
{
    CharacterCounts counts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '-')
            continue;
        if (IsCDigit(c)) {
            ++counts.digits;
        } else if (IsCAlpha(c)) {
            ++counts.letters;
            counts.lastLetter = i;
        } else {
            ++counts.others;
        }
    }
    return counts;
}

bool IsOrderLetter(char c)
{
    const char upper = ToUpperAscii(c);
    return upper == 'C' || upper == 'P' || upper == 'V' || upper == 'W';
}

} // namespace

int ClassifyReferenceText(std::string& text)
{
    const CharacterCounts counts = CountCharacters(text);
    if (text.starts_with('$') && counts.letters + counts.digits == 8) {
        BarcodeTextToNumber(text);
        return 2;
    }
    if (counts.digits == 0)
        return 0;
    if (counts.letters == 0 && counts.others == 0) {
        if (counts.digits == 11)
            return 1;
        if (counts.digits == 13)
            return 2;
        return counts.digits < 5 ? 5 : 0;
    }
    const bool letterThenDigit = counts.lastLetter + 1 < text.size() && IsCDigit(text[counts.lastLetter + 1]);
    if (counts.letters == 1 && counts.others == 0 && letterThenDigit
        && IsOrderLetter(text[counts.lastLetter]))
        return 4;
    return 0;
}

void BarcodeTextToNumber(std::string& text)
{
    ToUpperCase(text);
    std::string_view digits = text;
    if (digits.starts_with('$'))
        digits.remove_prefix(1);
    uint64_t value = 0;
    for (const char c : digits) {
        const uint64_t code = static_cast<unsigned char>(c);
        value = value * 36u + (c >= 'A' ? code - 'A' + 10u : code - '0');
    }
    std::string decimal = std::to_string(value);
    if (decimal.size() < 11)
        decimal.insert(0, 11 - decimal.size(), '0');
    text = decimal;
    AppendCheckDigits(text, 2);
}
