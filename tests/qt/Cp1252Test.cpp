#include "platform/qt/Cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, BytesMapToTheirCharacters)
{
    // Code points from the code page's published table.
    const struct {
        unsigned char byte;
        char16_t unicode;
    } cases[] = {
        { 'A', u'A' },
        { 0x80, 0x20AC },
        { 0x8A, 0x0160 },
        { 0x92, 0x2019 },
        { 0x96, 0x2013 },
        { 0x99, 0x2122 },
        { 0x9F, 0x0178 },
        { 0x81, 0x0081 },
        { 0xA9, 0x00A9 },
        { 0xE9, 0x00E9 },
        { 0xFF, 0x00FF },
    };
    for (const auto& c : cases) {
        const std::string byte(1, static_cast<char>(c.byte));
        const QString text = fw::FromCp1252(byte);
        ASSERT_EQ(text.size(), 1);
        EXPECT_EQ(text.at(0).unicode(), c.unicode) << int(c.byte);
    }
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(fw::ToCp1252(fw::FromCp1252(all)), all);
    EXPECT_EQ(fw::ToCp1252(QString::fromUtf8("\xE2\x82\xAC \xE4\xB8\xAD")), "\x80 ?");
}

// What the layout's texts can hold: the characters of all 256 bytes, and nothing else.
TEST(Cp1252, FitsOnlyTheCharactersOfItsBytes)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_TRUE(fw::FitsCp1252(fw::FromCp1252(all)));
    for (const char* utf8 :
        { "\xC5\x81", "\xE6\x97\xA5", "\xC4\x80", "\xF0\x9F\x98\x80", "\xE2\x80\x94\xE2\x88\x92" })
        EXPECT_FALSE(fw::FitsCp1252(QString::fromUtf8(utf8))) << utf8;
}

} // namespace
