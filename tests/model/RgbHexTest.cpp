#include "model/RgbHex.h"

#include <gtest/gtest.h>

namespace {

using win::RGB;

TEST(RgbHex, ParseTable)
{
    const struct {
        const char* text;
        win::COLORREF colour;
    } cases[] = {
        { "FF8000", RGB(255, 128, 0) },
        { "FF0010", RGB(255, 0, 16) },
        { "ff0010", RGB(255, 0, 16) },
        { "FFFFFF", 0x00FFFFFF },
        { "FFF", RGB(255, 15, 0) }, // the third field is missing
        { "", 0 },
        { "zz8000", 0 }, // scanning stops at the first field that is not hexadecimal
        { "12G456", RGB(0x12, 0, 0) },
        { "0A0B0C0D", RGB(10, 11, 12) },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseRgbHex(c.text), c.colour) << '"' << c.text << '"';
}

TEST(RgbHex, FormatTableAndRoundTrip)
{
    const struct {
        win::COLORREF colour;
        const char* text;
    } cases[] = { { RGB(255, 0, 16), "FF0010" }, { RGB(255, 128, 0), "FF8000" }, { RGB(0, 0, 0), "000000" },
        { RGB(1, 2, 3), "010203" }, { RGB(0xAB, 0xCD, 0xEF), "ABCDEF" } };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRgbHex(c.colour), c.text);
        EXPECT_EQ(ParseRgbHex(c.text), c.colour);
    }
}

} // namespace
