// The PackBits expansion every packed-row decoder shares, over byte and two-byte units: runs of each
// kind, the no-op code, input that ends inside a run and runs longer than the output. The bytes
// consumed matter to the IFF-85 body, whose rows follow one another in one stream.
#include "imaging/codec/PackBits.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct ExpandCase {
    const char* what;
    size_t unit;
    std::vector<uint8_t> in;
    size_t outSize;
    std::vector<uint8_t> expected; // the whole of out afterwards
    size_t consumed;
};

void PrintTo(const ExpandCase& c, std::ostream* os)
{
    *os << c.what;
}

class PackBitsExpand : public testing::TestWithParam<ExpandCase> { };

TEST_P(PackBitsExpand, StaysWithinInputAndOutput)
{
    const ExpandCase& c = GetParam();
    // A guard byte on each side of the output catches a write outside it even without the sanitizer;
    // the input is copied into a vector of its exact size, so that the sanitizer sees any read beyond.
    std::vector<uint8_t> buffer(c.outSize + 2, 0xEE);
    const std::vector<uint8_t> in(c.in);
    const size_t consumed = packbits::Expand(in, { buffer.data() + 1, c.outSize }, c.unit);
    EXPECT_EQ(std::vector<uint8_t>(buffer.begin() + 1, buffer.end() - 1), c.expected);
    EXPECT_EQ(consumed, c.consumed);
    EXPECT_EQ(buffer.front(), 0xEE);
    EXPECT_EQ(buffer.back(), 0xEE);
}

INSTANTIATE_TEST_SUITE_P(ByteUnits, PackBitsExpand,
    testing::Values(ExpandCase { "literal", 1, { 2, 1, 2, 3 }, 3, { 1, 2, 3 }, 4 },
        ExpandCase { "repeat", 1, { 0xFE, 9 }, 3, { 9, 9, 9 }, 2 },
        ExpandCase { "128 does nothing", 1, { 0x80, 0x00, 7 }, 1, { 7 }, 3 },
        ExpandCase { "literal cut by the input", 1, { 4, 1, 2 }, 4, { 1, 2, 0, 0 }, 3 },
        ExpandCase { "repeat without its byte", 1, { 0xFD }, 2, { 0, 0 }, 1 },
        ExpandCase { "repeat cut by the output", 1, { 0x81, 4, 0x00, 5 }, 3, { 4, 4, 4 }, 2 },
        ExpandCase { "literal cut by the output consumes it", 1, { 3, 1, 2, 3, 4, 0x00, 5 }, 2, { 1, 2 }, 5 },
        ExpandCase { "nothing to expand", 1, {}, 2, { 0, 0 }, 0 },
        ExpandCase { "no output", 1, { 0xF0, 1 }, 0, {}, 0 }));

INSTANTIATE_TEST_SUITE_P(TwoByteUnits, PackBitsExpand,
    testing::Values(ExpandCase { "literal", 2, { 1, 1, 2, 3, 4 }, 4, { 1, 2, 3, 4 }, 5 },
        ExpandCase { "repeat", 2, { 0xFE, 7, 8 }, 6, { 7, 8, 7, 8, 7, 8 }, 3 },
        ExpandCase { "128 does nothing", 2, { 0x80, 0x00, 5, 6 }, 2, { 5, 6 }, 4 },
        ExpandCase { "literal ending in half a unit", 2, { 2, 1, 2, 3 }, 6, { 1, 2, 0, 0, 0, 0 }, 4 },
        ExpandCase { "repeat of half a unit", 2, { 0xFF, 9 }, 2, { 0, 0 }, 1 },
        ExpandCase { "repeat cut by the output", 2, { 0xF0, 1, 2 }, 5, { 1, 2, 1, 2, 0 }, 3 },
        ExpandCase { "literal cut by the output", 2, { 2, 1, 2, 3, 4, 5, 6, 0xFF }, 4, { 1, 2, 3, 4 }, 7 }));

} // namespace
