#include "platform/win/Archive.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

namespace {

using win::Archive;
using win::ArchiveException;

struct StringForm {
    std::size_t length;
    std::string prefix;
    friend void PrintTo(const StringForm& form, std::ostream* os) { *os << form.length << " bytes"; }
};

class ArchiveStringForms : public ::testing::TestWithParam<StringForm> { };

TEST_P(ArchiveStringForms, LengthPrefixAndRoundTrip)
{
    const auto& form = GetParam();
    std::string text(form.length, 'x');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>('a' + i % 26);

    Archive out;
    out.WriteString(text);
    ASSERT_EQ(out.Bytes().size(), form.prefix.size() + form.length);
    EXPECT_EQ(out.Bytes().substr(0, form.prefix.size()), form.prefix);

    Archive in(out.Bytes());
    EXPECT_EQ(in.ReadString(), text);
    EXPECT_EQ(in.Remaining(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ArchiveStringForms,
    ::testing::Values(StringForm { 0, std::string("\x00", 1) }, StringForm { 254, "\xFE" },
        StringForm { 255, std::string("\xFF\xFF\x00", 3) }, StringForm { 65533, "\xFF\xFD\xFF" },
        StringForm { 65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7) },
        StringForm { 65535, std::string("\xFF\xFF\xFF\xFF\xFF\x00\x00", 7) },
        StringForm { 70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7) }),
    [](const auto& info) { return std::to_string(info.param.length) + "Bytes"; });

TEST(Archive, NumbersAreLittleEndian)
{
    Archive out;
    out << int32_t { -2 } << uint16_t { 0x1234 } << true << 1.5;
    EXPECT_EQ(out.Bytes(), std::string("\xFE\xFF\xFF\xFF\x34\x12\x01\x00\x00\x00\x00\x00\x00\xF8\x3F", 15));

    Archive in(out.Bytes());
    int32_t i = 0;
    uint16_t w = 0;
    bool b = false;
    double d = 0;
    in >> i >> w >> b >> d;
    EXPECT_EQ(i, -2);
    EXPECT_EQ(w, 0x1234);
    EXPECT_TRUE(b);
    EXPECT_EQ(d, 1.5);
}

TEST(Archive, TruncatedDataThrowsEndOfFile)
{
    Archive out;
    out.WriteString(std::string(300, 'q'));
    const std::string cut = out.Bytes().substr(0, 100);

    Archive in(cut);
    try {
        in.ReadString();
        FAIL() << "expected an archive exception";
    } catch (const ArchiveException& e) {
        EXPECT_EQ(e.GetCause(), ArchiveException::Cause::endOfFile);
    }

    Archive shortNumber(std::string("\x01\x02", 2));
    int32_t value = 7;
    EXPECT_THROW(shortNumber >> value, ArchiveException);
}

TEST(Archive, HugeLengthIsRefusedBeforeAllocating)
{
    const std::string lengths[] = {
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7),
        std::string("\xFF\xFF\xFF\x00\x00\x00\x01", 7) + std::string(1000, 'x'),
        std::string("\xFF\xFD\xFF", 3) + std::string(1000, 'x'),
    };
    for (const std::string& bytes : lengths) {
        Archive in(bytes);
        const AllocationProbe probe;
        EXPECT_THROW(in.ReadString(), ArchiveException);
        EXPECT_LT(probe.Largest(), std::size_t { 4096 });
    }
}

TEST(Archive, DirectionIsEnforced)
{
    Archive storing;
    uint8_t byte = 0;
    EXPECT_THROW(storing >> byte, ArchiveException);
    Archive loading(std::string("\x01", 1));
    EXPECT_THROW(loading << uint8_t { 1 }, ArchiveException);
}

} // namespace
