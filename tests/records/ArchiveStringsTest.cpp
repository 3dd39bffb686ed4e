#include "records/ArchiveStrings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using win::Archive;

TEST(ArchiveStdString, LengthFormsRoundTrip)
{
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const std::vector<Case> cases = {
        { 0, std::string("\x00", 1) },
        { 254, "\xFE" },
        { 255, std::string("\xFF\xFF\x00", 3) },
        { 65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7) },
        { 65535, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7) },
        { 70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7) },
    };
    for (const auto& c : cases) {
        std::string text(c.length, ' ');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char>('A' + i % 26);
        Archive out;
        WriteArchiveStdString(out, text);
        EXPECT_EQ(out.Bytes().substr(0, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(out.Bytes().size(), c.prefix.size() + c.length) << c.length;

        Archive in(out.Bytes());
        std::string back = "previous";
        ReadArchiveStdString(in, back);
        EXPECT_EQ(back, text) << c.length;
    }
}

TEST(ArchiveStdString, TextEndsAtFirstNul)
{
    Archive out;
    WriteArchiveStdString(out, std::string("ab\0cd", 5));
    EXPECT_EQ(out.Bytes(),
        std::string("\x02"
                    "ab"));

    Archive in(std::string("\x03x\0y", 4));
    std::string text;
    ReadArchiveStdString(in, text);
    EXPECT_EQ(text, "x");
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(ArchiveStdString, TruncatedArchiveThrowsAndKeepsTarget)
{
    Archive out;
    WriteArchiveStdString(out, std::string(300, 'q'));
    for (const std::size_t cut : { 0, 1, 2, 3, 200 }) {
        Archive in(out.Bytes().substr(0, cut));
        std::string text = "kept";
        EXPECT_THROW(ReadArchiveStdString(in, text), win::ArchiveException) << cut;
        EXPECT_EQ(text, "kept");
    }
}

} // namespace
