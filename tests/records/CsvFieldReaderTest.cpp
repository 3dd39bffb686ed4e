#include "records/CsvFields.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>
#include <vector>

namespace {

struct Field {
    std::string text;
    bool endOfLine;
};

struct ReaderCase {
    const char* name;
    std::string input;
    std::vector<Field> fields;
};

void PrintTo(const ReaderCase& c, std::ostream* os)
{
    *os << c.name;
}

class CsvFieldReader : public ::testing::TestWithParam<ReaderCase> { };

// Reads the expected fields in turn, then checks that one more read finds the end: the target is
// left as it was, no line end is reported and the stream has failed.
TEST_P(CsvFieldReader, ReadsFieldsThenStopsAtTheEnd)
{
    const ReaderCase& c = GetParam();
    std::istringstream in(c.input);
    for (std::size_t i = 0; i < c.fields.size(); ++i) {
        std::string text = "previous";
        bool endOfLine = !c.fields[i].endOfLine;
        ReadCsvField(in, text, endOfLine);
        EXPECT_EQ(text, c.fields[i].text) << "field " << i;
        EXPECT_EQ(endOfLine, c.fields[i].endOfLine) << "field " << i;
    }
    std::string text = "unchanged";
    bool endOfLine = true;
    ReadCsvField(in, text, endOfLine);
    EXPECT_EQ(text, "unchanged");
    EXPECT_FALSE(endOfLine);
    EXPECT_TRUE(in.fail());
}

INSTANTIATE_TEST_SUITE_P(Cases, CsvFieldReader,
    ::testing::Values(ReaderCase { "BlanksBeforeGoBlanksAfterStay", "  \"a,b\"  ,c\n",
                          { { "a,b  ", false }, { "c", true } } },
        ReaderCase { "DoubledQuotes", "\"He said \"\"hi\"\"\"", { { "He said \"hi\"", false } } },
        ReaderCase { "LineEndLf", "a,b\nc", { { "a", false }, { "b", true }, { "c", false } } },
        ReaderCase { "LineEndCr", "a\rb", { { "a", true }, { "b", false } } },
        ReaderCase { "LineEndCrLf", "a\r\nb", { { "a", true }, { "b", false } } },
        ReaderCase { "LineEndCrCr", "a\r\rb", { { "a", true }, { "b", false } } },
        ReaderCase { "LineEndCrCrLf", "a\r\r\nb\r\r\n", { { "a", true }, { "b", true } } },
        ReaderCase { "LastLineWithoutLineEnd", "x,yz", { { "x", false }, { "yz", false } } },
        ReaderCase { "EmptyFieldsAndBlankLine", ",,\n\n",
            { { "", false }, { "", false }, { "", true }, { "", true } } },
        ReaderCase { "CedillaPairReadsAsComma",
            "1\xC2\xB8"
            "5,\"a\xC2\xB8\"\n",
            { { "1,5", false }, { "a,", true } } },
        ReaderCase { "LoneC2IsKept", "\xC2\x41,a\xC2", { { "\xC2\x41", false }, { "a\xC2", false } } },
        ReaderCase { "CrLfInsideQuotesIsOneLf", "\"line1\r\nline2\",next\r\n",
            { { "line1\nline2", false }, { "next", true } } },
        ReaderCase { "CrCrLfInsideQuotesIsOneLf", "\"a\r\r\nb\"\r\r\n", { { "a\nb", true } } },
        ReaderCase { "LoneCrInsideQuotesIsOneLf", "\"a\rb\"", { { "a\nb", false } } },
        ReaderCase { "LfInsideQuotesStays", "\"a\nb\",c", { { "a\nb", false }, { "c", false } } },
        ReaderCase { "QuoteInsideUnquotedFieldStartsQuoting", "ab\"c,d\"e,f",
            { { "abc,de", false }, { "f", false } } },
        ReaderCase { "TextAfterClosingQuoteIsAppended", "\"a\"b,c", { { "ab", false }, { "c", false } } },
        ReaderCase { "UnclosedQuoteEndsAtEndOfFile", "\"abc", { { "abc", false } } },
        ReaderCase { "TabsAndSpacesBeforeField", "\t x\t", { { "x\t", false } } },
        ReaderCase { "HighBytesPassThrough", "\xE9t\xE9\xFF\n", { { "\xE9t\xE9\xFF", true } } }),
    [](const auto& info) { return std::string(info.param.name); });

// The typed readers on one line: a number field that is not a number leaves the target, an empty
// one gives 0, and at the end of the stream numbers become 0 and flags false.
TEST(CsvTypedReaders, EmptyBadAndMissingFields)
{
    std::istringstream in("12,,abc,(3.5),yes,0,1\n");
    int i = -1, empty = -1, bad = 99;
    double d = 0;
    bool word = true, zero = true, one = false;
    ReadCsvInt(in, i);
    ReadCsvInt(in, empty);
    ReadCsvInt(in, bad);
    ReadCsvDouble(in, d);
    ReadCsvBool(in, word);
    ReadCsvBool(in, zero);
    bool endOfLine = false;
    ReadCsvBool(in, one, endOfLine);
    EXPECT_EQ(i, 12);
    EXPECT_EQ(empty, 0);
    EXPECT_EQ(bad, 99);
    EXPECT_EQ(d, -3.5);
    EXPECT_TRUE(word) << "a word leaves the flag as it was";
    EXPECT_FALSE(zero);
    EXPECT_TRUE(one);
    EXPECT_TRUE(endOfLine);

    unsigned u = 7;
    double atEnd = 4.0;
    bool flag = true;
    ReadCsvUnsigned(in, u);
    ReadCsvDouble(in, atEnd);
    ReadCsvBool(in, flag);
    EXPECT_EQ(u, 0u);
    EXPECT_EQ(atEnd, 0.0);
    EXPECT_FALSE(flag);
}

TEST(CsvTypedReaders, WordInBoolFieldKeepsEitherValue)
{
    for (const bool start : { false, true }) {
        std::istringstream in("true");
        bool flag = start;
        ReadCsvBool(in, flag);
        EXPECT_EQ(flag, start);
    }
}

TEST(CsvLineSkipping, SkipCsvLineHonoursQuotedLineEnds)
{
    std::istringstream in("a,\"b\nstill b\",c\r\nnext,x\n");
    SkipCsvLine(in);
    std::string text;
    ReadCsvField(in, text);
    EXPECT_EQ(text, "next");

    std::istringstream unterminated("a,b");
    SkipCsvLine(unterminated);
    EXPECT_TRUE(unterminated.fail());
}

TEST(CsvLineSkipping, SkipRestOfLineStopsAfterLfOrAt1024)
{
    std::istringstream in("rest of line\nnext");
    SkipRestOfLine(in);
    std::string text;
    ReadCsvField(in, text);
    EXPECT_EQ(text, "next");

    std::istringstream longLine(std::string(1030, 'x') + "\nnext");
    SkipRestOfLine(longLine);
    ReadCsvField(longLine, text);
    EXPECT_EQ(text, "xxxxxx") << "only 1024 characters are skipped";
}

} // namespace
