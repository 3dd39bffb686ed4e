#include "util/window/PageWriters.h"

#include "RecordingPages.h"
#include "platform/win/AppContext.h"
#include "platform/win/ScriptedModalServices.h"
#include "util/TestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// On the default recording page: 210 x 297 mm, so the usable width W is 2000 and the page bottom B
// -2970. A 10-point font is 35 units high and each character 17 wide.
constexpr int kFontSize = 100;
constexpr int kTableLine = 38; // 35 x 1.1
constexpr int kTextLine = 35;
constexpr int kCharWidth = 17;

struct Placed {
    std::string text;
    int x;
    int y;
    friend bool operator==(const Placed&, const Placed&) = default;
};

void PrintTo(const Placed& p, std::ostream* os)
{
    *os << '"' << p.text << "\" at " << p.x << "," << p.y;
}

std::vector<Placed> Placements(const std::vector<gdi::RecordedText>& texts)
{
    std::vector<Placed> placed;
    for (const auto& t : texts)
        placed.push_back({ t.text, t.logicalOrigin.x, t.logicalOrigin.y });
    return placed;
}

// The footer "Page n", centred: 6 characters of 17 units.
Placed Footer(int page)
{
    return { "Page " + std::to_string(page), 2000 / 2 - 6 * kCharWidth / 2 + 50, -2970 + 0 };
}

class PageWriters : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetModalServices(modal);
    }
    void TearDown() override
    {
        EXPECT_TRUE(pages.faults.empty()) << pages.faults.front();
        EXPECT_TRUE(pages.dc.ObjectFaults().empty());
        win::AppContext::Instance().Reset();
    }

    std::string WriteFile(const std::string& text) const
    {
        const fs::path path = folder / "table.csv";
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    std::shared_ptr<win::ScriptedModalServices> modal = std::make_shared<win::ScriptedModalServices>();
    TestFolder testFolder { "pages" };
    const fs::path folder = testFolder.Path();
    RecordingPages pages;
};

const int kWidths[] = { 20, 50, 30 };
const int kAlignments[] = { kAlignLeft, kAlignCentre, kAlignRight };
const bool kNoRectangles[] = { false, false, false };

TEST_F(PageWriters, TablePlacesColumnsByWidthAndAlignmentAndContinuesLongLines)
{
    // Edges: 50, 454, 1449 and the last at W + 49 = 2049.
    const std::string file = WriteFile("ab,cdef,gh\r\n1,2,3,4,5\n\"x,y\",,z");
    ASSERT_TRUE(PrintCsvFileTable(pages, kFontSize, file, 3, kWidths, kAlignments, kNoRectangles));
    ASSERT_EQ(pages.pageStarts.size(), 1u);
    EXPECT_TRUE(pages.open); // left open for the end of the job
    const int centre = (454 + 1439) / 2;
    const std::vector<Placed> expected {
        { "ab", 50, 0 },
        { "cdef", centre - 2 * kCharWidth, 0 },
        { "gh", 2049 - 2 * kCharWidth - 10, 0 },
        { "1", 50, -kTableLine },
        { "2", centre - kCharWidth / 2, -kTableLine },
        { "3", 2049 - kCharWidth - 10, -kTableLine },
        { "4", 50, -2 * kTableLine }, // the rest of the line is the next row
        { "5", centre - kCharWidth / 2, -2 * kTableLine },
        { "x,y", 50, -3 * kTableLine },
        { "", centre, -3 * kTableLine },
        { "z", 2049 - kCharWidth - 10, -3 * kTableLine },
    };
    EXPECT_EQ(Placements(pages.PageTexts()[0]), expected);
    const auto texts = pages.dc.All<gdi::RecordedText>();
    EXPECT_EQ(gdi::GetFaceName(texts[0].font.logical), "Arial");
    EXPECT_EQ(texts[0].font.logical.lfHeight, -35);
    EXPECT_EQ(texts[0].state.mapMode, gdi::MM_LOMETRIC);
}

TEST_F(PageWriters, TableCellRectanglesBreakAtTheTextsOwnLineEnds)
{
    const bool rectangles[] = { true, true, true };
    const std::string file = WriteFile("\"one\r\ntwo\",\"mid\",\"r\rs\"\n");
    ASSERT_TRUE(PrintCsvFileTable(pages, kFontSize, file, 3, kWidths, kAlignments, rectangles));
    // The cell's top is one line below the row's line.
    const int top = -kTableLine;
    const std::vector<Placed> expected {
        { "one", 50, top },
        { "two", 50, top - 35 },
        { "mid", (454 + 1439) / 2 - 3 * kCharWidth / 2, top },
        { "r", 2039 - kCharWidth, top },
        { "s", 2039 - kCharWidth, top - 35 },
    };
    EXPECT_EQ(Placements(pages.PageTexts()[0]), expected);
}

TEST_F(PageWriters, TableBreaksPagesWithTheFooterAndStartsLaterPagesALineLower)
{
    std::string rows;
    for (int i = 1; i <= 160; ++i)
        rows += std::to_string(i) + "\n";
    const std::string file = WriteFile(rows);
    ASSERT_TRUE(PrintCsvFileTable(pages, kFontSize, file, 3, kWidths, kAlignments, kNoRectangles));
    const auto texts = pages.PageTexts();
    // Page 1: rows at 0 down to -2850 (76 rows) while a row leaves two lines above the footer's.
    // Page 2: from -38, 75 rows. Page 3: the remaining 9, and its footer, as on every page.
    ASSERT_EQ(texts.size(), 3u);
    const std::size_t rowsOnPage[] = { 76, 75, 9 };
    const int firstY[] = { 0, -kTableLine, -kTableLine };
    int row = 1;
    for (std::size_t p = 0; p < 3; ++p) {
        ASSERT_EQ(texts[p].size(), rowsOnPage[p] + 1) << "page " << p + 1;
        for (std::size_t i = 0; i < rowsOnPage[p]; ++i, ++row)
            EXPECT_EQ(Placements({ texts[p][i] })[0],
                (Placed { std::to_string(row), 50, firstY[p] - static_cast<int>(i) * kTableLine }));
        Placed footer = Footer(static_cast<int>(p) + 1);
        footer.y += kTableLine;
        EXPECT_EQ(Placements({ texts[p].back() })[0], footer);
    }
}

TEST_F(PageWriters, TableThatFillsItsPageExactlyEndsWithoutAnEmptyPage)
{
    std::string rows;
    for (int i = 1; i <= 76; ++i)
        rows += std::to_string(i) + "\n";
    ASSERT_TRUE(PrintCsvFileTable(pages, kFontSize, WriteFile(rows), 3, kWidths, kAlignments, kNoRectangles));
    // The page is full after its last row, but no row follows: one page, and so no footer.
    const auto texts = pages.PageTexts();
    ASSERT_EQ(texts.size(), 1u);
    ASSERT_EQ(texts[0].size(), 76u);
    EXPECT_EQ(texts[0].back().text, "76");
}

TEST_F(PageWriters, TableWithoutColumnsOrFileStartsNoPage)
{
    const std::string file = WriteFile("a,b\n");
    // No column would never consume a field: the rows would go on for ever.
    EXPECT_FALSE(PrintCsvFileTable(pages, kFontSize, file, 0, {}, {}, {}));
    EXPECT_FALSE(PrintCsvFileTable(pages, kFontSize, file, -1, kWidths, kAlignments, kNoRectangles));
    // More columns than widths.
    EXPECT_FALSE(PrintCsvFileTable(pages, kFontSize, file, 4, kWidths, kAlignments, kNoRectangles));
    EXPECT_TRUE(modal->Messages().empty());

    modal->AnswerNext(win::IDOK);
    const std::string missing = (folder / "missing.csv").string();
    EXPECT_FALSE(PrintCsvFileTable(pages, kFontSize, missing, 3, kWidths, kAlignments, kNoRectangles));
    ASSERT_EQ(modal->Messages().size(), 1u);
    EXPECT_EQ(modal->Messages()[0].text, "Failed to open " + missing + "\nNo such file or directory");
    EXPECT_TRUE(pages.pageStarts.empty());
    EXPECT_TRUE(pages.dc.Primitives().empty());
}

TEST_F(PageWriters, WrappedTextCutsAfterTheLastBlankOrWhereTheLineIsFull)
{
    // 113 characters a line: 2000 / 17 - 4.
    const std::string blankAtEnd = std::string(112, 'a') + " " + std::string(10, 'b');
    const std::string noBlank(250, 'c');
    const std::string text = blankAtEnd + "\n" + noBlank + "\n\nx\r\ny\n";
    PrintWrappedText(pages, kFontSize, text);
    const std::vector<Placed> expected {
        { std::string(112, 'a') + " ", 50, 0 },
        { std::string(10, 'b'), 50, -kTextLine },
        { std::string(113, 'c'), 50, -2 * kTextLine },
        { std::string(113, 'c'), 50, -3 * kTextLine },
        { std::string(24, 'c'), 50, -4 * kTextLine },
        { "", 50, -5 * kTextLine }, // the empty paragraph
        { "x\r", 50, -6 * kTextLine }, // a carriage return stays with its line
        { "y", 50, -7 * kTextLine },
    };
    ASSERT_EQ(pages.pageStarts.size(), 1u);
    EXPECT_EQ(Placements(pages.PageTexts()[0]), expected);
}

TEST_F(PageWriters, WrappedTextBreaksPagesWithTheFooter)
{
    std::string text;
    for (int i = 1; i <= 100; ++i)
        text += "line " + std::to_string(i) + "\n";
    PrintWrappedText(pages, kFontSize, text);
    const auto texts = pages.PageTexts();
    // 82 lines on the first page (0 down to -2835), the other 18 from -35 on the second.
    ASSERT_EQ(texts.size(), 2u);
    ASSERT_EQ(texts[0].size(), 83u);
    ASSERT_EQ(texts[1].size(), 19u);
    EXPECT_EQ(Placements({ texts[0][81] })[0], (Placed { "line 82", 50, -81 * kTextLine }));
    EXPECT_EQ(Placements({ texts[1][0] })[0], (Placed { "line 83", 50, -kTextLine }));
    EXPECT_EQ(Placements({ texts[1][17] })[0], (Placed { "line 100", 50, -18 * kTextLine }));
    for (int page = 1; page <= 2; ++page) {
        Placed footer = Footer(page);
        footer.y += kTextLine;
        EXPECT_EQ(Placements({ texts[static_cast<std::size_t>(page) - 1].back() })[0], footer);
    }
}

TEST_F(PageWriters, WrappedTextOnAPageTooNarrowForFourCharactersTakesOneALine)
{
    // 10 mm printable: no usable width at all, so the characters a line would be 0 / 17 - 4.
    RecordingPages narrow({ 100, 2970, 254, 254 });
    PrintWrappedText(narrow, kFontSize, "ab c");
    const auto texts = narrow.PageTexts();
    ASSERT_EQ(texts.size(), 1u);
    std::vector<std::string> lines;
    for (const auto& t : texts[0])
        lines.push_back(t.text);
    EXPECT_EQ(lines, (std::vector<std::string> { "a", "b", " ", "c" }));
}

TEST_F(PageWriters, EmptyTextPrintsNothing)
{
    PrintWrappedText(pages, kFontSize, "");
    EXPECT_TRUE(pages.pageStarts.empty());
    EXPECT_TRUE(pages.dc.Primitives().empty());
}

} // namespace
