// PackBits expansion of one row.
#include "imaging/bitmap/BmpTestHelpers.h"
#include "imaging/codec/PLPicDecoder.h"
#include "imaging/io/PLMemSource.h"

#include <ostream>
#include <vector>

namespace {

struct UnpackCase {
    const char* what;
    std::vector<uint8_t> packed;
    int destSize;
    std::vector<uint8_t> expected; // the whole of dest afterwards
};

void PrintTo(const UnpackCase& c, std::ostream* os)
{
    *os << c.what;
}

class UnpackBits : public testing::TestWithParam<UnpackCase> { };

TEST_P(UnpackBits, ExpandsWithinBothBounds)
{
    const UnpackCase& c = GetParam();
    // One guard byte on each side of the output catches a write outside it even without the sanitizer.
    std::vector<uint8_t> buffer(static_cast<size_t>(c.destSize) + 2, 0xEE);
    PLMemSource source;
    source.OpenMemory(c.packed.data(), static_cast<int>(c.packed.size()));
    const uint8_t* row = PLPicDecoder::UnpackBits(
        buffer.data() + 1, &source, c.destSize, 8, static_cast<int>(c.packed.size()));
    EXPECT_EQ(row, buffer.data() + 1);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + 1, buffer.end() - 1), c.expected) << c.what;
    EXPECT_EQ(buffer.front(), 0xEE);
    EXPECT_EQ(buffer.back(), 0xEE);
    EXPECT_EQ(source.GetPosition(), static_cast<int>(c.packed.size())) << "the packed bytes are consumed";
}

INSTANTIATE_TEST_SUITE_P(Runs, UnpackBits,
    testing::Values(UnpackCase { "literal then repeat", { 2, 1, 2, 3, 0xFE, 9 }, 6, { 1, 2, 3, 9, 9, 9 } },
        UnpackCase { "128 is skipped", { 0x80, 0xFF, 7, 0x80, 0, 5 }, 3, { 7, 7, 5 } },
        UnpackCase { "repeat cut at the output's end", { 0x81, 4 }, 5, { 4, 4, 4, 4, 4 } },
        UnpackCase { "literal cut at the output's end", { 5, 1, 2, 3, 4, 5, 6 }, 4, { 1, 2, 3, 4 } },
        UnpackCase { "literal cut at the input's end, rest zeroed", { 9, 1, 2 }, 5, { 1, 2, 0, 0, 0 } },
        UnpackCase { "repeat without its byte", { 3, 1, 2, 3, 4, 0xF0 }, 6, { 1, 2, 3, 4, 0, 0 } },
        UnpackCase { "nothing packed", {}, 3, { 0, 0, 0 } }, UnpackCase { "no output", { 0xF0, 1 }, 0, {} }));

TEST(UnpackBitsShortRows, AreReadUnpackedAndLeaveDestAlone)
{
    const uint8_t data[] = { 5, 6, 7, 8, 9 };
    PLMemSource source;
    source.OpenMemory(data, 5);
    uint8_t dest[4] = { 1, 1, 1, 1 };
    const uint8_t* row = PLPicDecoder::UnpackBits(dest, &source, 4, 3, 99);
    EXPECT_EQ(row, data);
    EXPECT_EQ(source.GetPosition(), 3);
    EXPECT_EQ(dest[0], 1);
}

TEST(UnpackBitsShortRows, PackedLengthBeyondTheDataIsEndOfFile)
{
    const uint8_t data[] = { 0, 1 };
    PLMemSource source;
    source.OpenMemory(data, 2);
    uint8_t dest[8] = {};
    EXPECT_EQ(ErrorCodeOf([&] { PLPicDecoder::UnpackBits(dest, &source, 8, 8, 3); }), PL_ERR_END_OF_FILE);
    EXPECT_EQ(ErrorCodeOf([&] { PLPicDecoder::UnpackBits(dest, &source, 8, 8, -1); }), PL_ERR_FORMAT_UNKNOWN);
    EXPECT_EQ(ErrorCodeOf([&] { PLPicDecoder::UnpackBits(dest, &source, 8, 3, 0); }), PL_ERR_END_OF_FILE);
}

} // namespace
