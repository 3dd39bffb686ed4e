// Number alphabets, order references and digit groups.
#include "util/NumberAlphabet.h"
#include "util/ReferenceText.h"
#include "util/TextGroups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr const char* kHex = "0123456789ABCDEF";
constexpr const char* kBase36 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

struct AlphabetCase {
    const char* text;
    const char* alphabet;
    int minimumDigits;
    const char* expected;
};

TEST(NumberAlphabet, FromAlphabetToDecimal)
{
    const std::vector<AlphabetCase> cases = {
        { "10", "01", 4, "0002" },
        { "ZZ", kBase36, 0, "1295" },
        { "FFFFFFFF", kHex, 0, "4294967295" },
        { "100000000", kHex, 1, "0" }, // 2^32 wraps to 0
        { "", "01", 0, "" },
        { "", "01", 3, "000" },
        { "1x", "01", 0, "ERROR" },
        // Alphabets without a base: no digit can be written in them.
        { "1", "1", 0, "ERROR" },
        { "", "", 0, "ERROR" },
    };
    for (const AlphabetCase& c : cases)
        EXPECT_EQ(ConvertFromAlphabet(c.text, c.alphabet, c.minimumDigits), c.expected)
            << c.text << " in " << c.alphabet;
}

TEST(NumberAlphabet, DecimalToAlphabet)
{
    const std::vector<AlphabetCase> cases = {
        { "5", "01", 0, "101" },
        { "0", "XY", 3, "XXX" },
        { "255", kHex, 4, "00FF" },
        { "1295", kBase36, 0, "ZZ" },
        { "4294967296", "0123456789", 1, "0" }, // wraps in 32 bits
        { "", "01", 2, "00" },
        // Used to divide by zero or never end.
        { "12", "1", 0, "ERROR" },
        { "12", "", 0, "ERROR" },
    };
    for (const AlphabetCase& c : cases)
        EXPECT_EQ(ConvertToAlphabet(c.text, c.alphabet, c.minimumDigits), c.expected)
            << c.text << " in " << c.alphabet;
}

TEST(NumberAlphabet, RoundTripsThroughAnAlphabet)
{
    for (const char* decimal : { "1", "36", "99999", "4294967295" }) {
        const std::string written = ConvertToAlphabet(decimal, "QWERTY", 0);
        EXPECT_EQ(ConvertFromAlphabet(written, "QWERTY", 0), decimal) << written;
    }
}

TEST(ReferenceText, ClassifiesByItsCharacters)
{
    const std::vector<std::pair<const char*, int>> cases = {
        { "12345678901", 1 }, { "123 4567-8901", 1 }, // blanks and minus signs do not count
        { "1234567890123", 2 }, { "1234", 5 }, { "123456", 0 }, { "P12345", 4 }, { "w12345", 4 },
        { "12C345", 4 }, { "X12345", 0 }, { "12345P", 0 }, // the letter must be followed by a digit
        { "AB12", 0 }, { "P12.345", 0 }, { "Proof", 0 }, { "", 0 },
        { "$ABC1234", 0 }, // seven letters and digits: no barcode
    };
    for (const auto& [text, kind] : cases) {
        std::string reference = text;
        EXPECT_EQ(ClassifyReferenceText(reference), kind) << text;
        EXPECT_EQ(reference, text);
    }
}

TEST(ReferenceText, BarcodeTextsDecodeToTheirNumberWithCheckDigits)
{
    // 36 = "10" in base 36; the check digits are the digit sum, 9, in two places.
    std::string text = "$00000010";
    EXPECT_EQ(ClassifyReferenceText(text), 2);
    EXPECT_EQ(text, "0000000003609");

    const std::vector<std::pair<const char*, const char*>> cases = {
        { "$0000000Z", "0000000003508" }, { "$zzzzzzzz", "282110990745553" }, // 36^8 - 1, digit sum 53
        { "0000000Z", "0000000003508" }, // the "$" is optional
    };
    for (const auto& [barcode, number] : cases) {
        std::string decoded = barcode;
        BarcodeTextToNumber(decoded);
        EXPECT_EQ(decoded, number) << barcode;
    }
}

TEST(TextGroups, InsertsABlankAfterEveryGroup)
{
    const std::vector<std::tuple<const char*, int, const char*>> cases = {
        { "12345678", 3, "123 456 78" },
        { "123456", 3, "123 456" },
        { "12", 3, "12" },
        { "1234", 1, "1 2 3 4" },
        { "", 3, "" },
        { "123", 0, "123" },
        { "123", -2, "123" },
    };
    for (const auto& [text, group, expected] : cases) {
        std::string grouped = text;
        InsertBlankEvery(grouped, group);
        EXPECT_EQ(grouped, expected) << text << " by " << group;
    }
}

} // namespace
