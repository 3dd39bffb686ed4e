#include "model/PaperSpecs.h"
#include "SettingsFixture.h"
#include "model/Layout.h"
#include "records/DataVersion.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using win::RECT;

class PaperSpecsTest : public SettingsFixture { };

TEST_F(PaperSpecsTest, EveryTableEntryByIndex)
{
    const struct {
        const char* name;
        int32_t height, width;
    } table[] = { { "A4", 2970, 2100 }, { "A4 L", 2100, 2970 }, { "A5", 2100, 1480 }, { "A5 L", 1480, 2100 },
        { "8x6", 2032, 1524 }, { "6x8", 1524, 2032 }, { "7x5", 1778, 1270 }, { "5x7", 1270, 1778 },
        { "6x4", 1524, 1016 }, { "4x6", 1016, 1524 }, { "Custom", 2970, 2100 } };
    ASSERT_EQ(PaperSizeTable.size(), std::size(table));
    for (int32_t i = 0; i < 11; ++i) {
        const PaperSpecs paper(i);
        EXPECT_STREQ(PaperSizeTable[static_cast<std::size_t>(i)].name, table[i].name);
        EXPECT_EQ(paper.GetPaperType(), i);
        EXPECT_EQ(paper.GetPaperHeight(), table[i].height) << table[i].name;
        EXPECT_EQ(paper.GetPaperWidth(), table[i].width) << table[i].name;
        EXPECT_TRUE(paper.GetPortrait());
        EXPECT_EQ(paper.GetPrintableRect(), (RECT { 30, 30, table[i].width - 30, table[i].height - 30 }));
    }
}

TEST_F(PaperSpecsTest, MarginsComeFromTheSettingsAndGoBackInOrder)
{
    store->WriteProfileInt("Settings", "PaperMarginLeft", 11);
    store->WriteProfileInt("Settings", "PaperMarginRight", 12);
    store->WriteProfileInt("Settings", "PaperMarginTop", 13);
    store->WriteProfileInt("Settings", "PaperMarginBottom", -14);
    const std::size_t writesBefore = store->Writes().size();
    {
        PaperSpecs paper(4);
        EXPECT_EQ(store->reads,
            (std::vector<std::string> { "Settings/PaperMarginLeft", "Settings/PaperMarginRight",
                "Settings/PaperMarginTop", "Settings/PaperMarginBottom" }));
        EXPECT_EQ(paper.GetMarginLeft(), 11);
        EXPECT_EQ(paper.GetMarginRight(), 12);
        EXPECT_EQ(paper.GetMarginTop(), 13);
        EXPECT_EQ(paper.GetMarginBottom(), -14);
        EXPECT_EQ(paper.GetPrintableRect(), (RECT { 11, 13, 1524 - 12, 2032 + 14 }));
        paper.SetMarginTop(77);
        EXPECT_EQ(store->Writes().size(), writesBefore); // nothing is written before destruction
    }
    const std::vector<std::string> written(
        store->Writes().begin() + static_cast<long>(writesBefore), store->Writes().end());
    EXPECT_EQ(written,
        (std::vector<std::string> { "Settings/PaperMarginLeft=11", "Settings/PaperMarginRight=12",
            "Settings/PaperMarginTop=77", "Settings/PaperMarginBottom=-14" }));
}

TEST_F(PaperSpecsTest, DefaultMarginsAreThirtyAndTheLayoutStoresItsPapersMarginsWhenDestroyed)
{
    {
        Layout layout;
        EXPECT_EQ(layout.GetPaper().GetPrintableRect(), (RECT { 30, 30, 2070, 2940 }));
        layout.GetPaper().SetMarginLeft(45);
    }
    EXPECT_EQ(store->Writes(),
        (std::vector<std::string> { "Settings/PaperMarginLeft=45", "Settings/PaperMarginRight=30",
            "Settings/PaperMarginTop=30", "Settings/PaperMarginBottom=30" }));
    // The next paper starts from the stored margins.
    EXPECT_EQ(PaperSpecs(0).GetMarginLeft(), 45);
}

// A sheet whose layout was refused gives up its margins: nothing reaches the settings.
TEST_F(PaperSpecsTest, DiscardedMarginsAreNotStored)
{
    {
        Layout layout;
        layout.GetPaper().SetMarginLeft(45);
        layout.GetPaper().DiscardMargins();
    }
    EXPECT_TRUE(store->Writes().empty());
}

TEST_F(PaperSpecsTest, SizesFindTheFirstMatchingEntry)
{
    PaperSpecs paper(0);
    paper.SetWidth(2970); // 2970 x 2970: no entry
    EXPECT_EQ(paper.GetPaperType(), 0);
    EXPECT_EQ(paper.FindPaperIndex(), PaperSpecs::noPaperFound);
    paper.SetHeight(2100);
    EXPECT_EQ(paper.GetPaperType(), 1);

    PaperSpecs custom(10);
    EXPECT_EQ(custom.GetPaperType(), 10);
    EXPECT_EQ(custom.FindPaperIndex(), 0); // the custom entry's A4 sizes are A4's first
    EXPECT_EQ(custom.GetPaperType(), 0);

    const PaperSpecs bySize(1016, 1524);
    EXPECT_EQ(bySize.GetPaperType(), 9);
    const PaperSpecs unknownSize(1000, 700);
    EXPECT_EQ(unknownSize.GetPaperType(), PaperSpecs::customPaper);
    EXPECT_EQ(unknownSize.GetPaperHeight(), 1000);
    EXPECT_EQ(unknownSize.GetPaperWidth(), 700);
}

TEST_F(PaperSpecsTest, IndexOutsideTheTableNeverIndexesIt)
{
    for (const int32_t index : { -1, 11, 99, INT_MAX, INT_MIN }) {
        const PaperSpecs paper(index);
        EXPECT_EQ(paper.GetPaperType(), PaperSpecs::customPaper) << index;
        EXPECT_EQ(paper.GetPaperHeight(), 2970) << index;
        EXPECT_EQ(paper.GetPaperWidth(), 2100) << index;
    }
    const struct {
        int32_t height, width, index, expected;
    } selections[] = { { 2032, 1524, 99, 4 }, { 1234, 567, -5, 10 }, { 2970, 2100, 11, 0 } };
    for (const auto& s : selections) {
        PaperSpecs paper(s.height, s.width);
        paper.SelectPaper(s.index);
        EXPECT_EQ(paper.GetPaperType(), s.expected) << s.index;
        EXPECT_EQ(paper.GetPaperHeight(), s.height);
        EXPECT_EQ(paper.GetPaperWidth(), s.width);
    }
    PaperSpecs paper(0);
    paper.SelectPaper(7);
    EXPECT_EQ(paper.GetPaperType(), 7);
    EXPECT_EQ(paper.GetPaperHeight(), 1270);
    EXPECT_EQ(paper.GetPaperWidth(), 1778);
}

const char paperLines[] = "PaperType,5\r\nPaperHeight,1524\r\nPaperWidth,2032\r\nMarginLeft,-7\r\n"
                          "MarginRight,31\r\nMarginTop,32\r\nMarginBottom,33\r\nPortrait,0\r\n";

TEST_F(PaperSpecsTest, PaperLinesAreWrittenUnquotedAndReadBack)
{
    PaperSpecs paper(5);
    paper.SetMarginLeft(-7);
    paper.SetMarginRight(31);
    paper.SetMarginTop(32);
    paper.SetMarginBottom(33);
    paper.SetPortrait(false);
    std::ostringstream out;
    paper.WriteCsv(out);
    EXPECT_EQ(out.str(), paperLines);

    PaperSpecs read(0);
    read.MarkAllFieldsModified();
    std::istringstream in(out.str());
    read.ReadCsv(in, ReadContext { CurrentDataVersion });
    EXPECT_EQ(read.GetPaperType(), 5);
    EXPECT_EQ(read.GetPaperHeight(), 1524);
    EXPECT_EQ(read.GetPaperWidth(), 2032);
    EXPECT_EQ(read.GetMarginLeft(), -7);
    EXPECT_EQ(read.GetPrintableRect(), (RECT { -7, 32, 2032 - 31, 1524 - 33 }));
    EXPECT_FALSE(read.GetPortrait());
    EXPECT_EQ(read.GetModifiedMask(), 0u);
}

TEST_F(PaperSpecsTest, PaperLinesReadTable)
{
    const struct {
        const char* text;
        int32_t type, height, width, left, bottom;
        bool portrait;
    } cases[] = {
        // Labels are not compared; line ends of every form; quoted values.
        { "X,4\nX,2032\rX,1524\r\nX,1\r\r\nX,2\nX,3\nX,\"4\"\nX,1\n", 4, 2032, 1524, 1, 4, true },
        // A value that is not a number keeps the field; an empty value is 0.
        { "PaperType,abc\nPaperHeight,\nPaperWidth,2100\nMarginLeft,9\nMarginRight,9\nMarginTop,9\n"
          "MarginBottom,(5)\nPortrait,yes\n",
            0, 0, 2100, 9, -5, true },
        // A truncated document leaves what it does not hold.
        { "PaperType,2\nPaperHeight,2100\nPaperWidth,1480\nMarginLeft,", 2, 2100, 1480, 30, 30, true },
        { "", 0, 2970, 2100, 30, 30, true },
        // An index outside the table goes by the sizes, else to the custom entry.
        { "PaperType,99\nPaperHeight,1016\nPaperWidth,1524\n", 9, 1016, 1524, 30, 30, true },
        { "PaperType,-3\nPaperHeight,1000\nPaperWidth,1000\n", 10, 1000, 1000, 30, 30, true },
    };
    for (const auto& c : cases) {
        store->Clear(); // margins 30 for every case
        PaperSpecs paper(0);
        std::istringstream in(c.text);
        paper.ReadCsv(in, ReadContext { CurrentDataVersion });
        SCOPED_TRACE(c.text);
        EXPECT_EQ(paper.GetPaperType(), c.type);
        EXPECT_EQ(paper.GetPaperHeight(), c.height);
        EXPECT_EQ(paper.GetPaperWidth(), c.width);
        EXPECT_EQ(paper.GetMarginLeft(), c.left);
        EXPECT_EQ(paper.GetMarginBottom(), c.bottom);
        EXPECT_EQ(paper.GetPortrait(), c.portrait);
    }
}

} // namespace
