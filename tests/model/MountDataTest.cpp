#include "model/MountData.h"
#include "CatalogTestSupport.h"
#include "RecordTestHelpers.h"
#include "model/TypedLists.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace {

std::unique_ptr<MountData> ReadSection(const std::string& text)
{
    auto mounts = std::make_unique<MountData>();
    std::istringstream in(text);
    EXPECT_TRUE(mounts->ReadCsv(in));
    return mounts;
}

// The section as the writer lays it out, with two mount types and one size.
const std::string twoTypesOneSize = "Mount Type,ID,\"0\",\"1\",,\r\n"
                                    "Mount Description,,\"Card\",\"Folder\",,\r\n"
                                    "\"7x5\",\"0\",\"1.5\",\"2\",,\"7\",\"8\",,\r\n";

TEST(MountData, LookupsOfTwoTypesAndOneSize)
{
    const auto mounts = ReadSection("\"last product row\"\r\n\r\n" + twoTypesOneSize);
    EXPECT_EQ(Dump(*mounts), "type Card\ntype Folder\nsize 7x5: 1.50 2.00 / 7 8\n");
    const struct {
        uint32_t type;
        uint32_t size;
        int32_t code;
    } cases[] = { { 0, 0, 7 }, { 1, 0, 8 }, { 10, 0, 8 }, { 2, 0, -1 }, { 0, 1, -1 }, { 100, 0, -1 } };
    for (const auto& c : cases)
        EXPECT_EQ(mounts->GetCode(c.type, c.size), c.code) << c.type << "," << c.size;
    EXPECT_EQ(mounts->GetMountDescription(10), "Folder");
    EXPECT_EQ(mounts->GetMountDescription(2), "");
    const MountSizeData& size = *mounts->GetSizes()[0];
    EXPECT_EQ(size.GetPrice(1).GetAmount(), 200);
    EXPECT_EQ(size.GetPrice(10).GetAmount(), 0) << "no division by ten on a size";
    EXPECT_EQ(size.GetCode(2), -1);
    EXPECT_EQ(mounts->GetModifiedMask(), 0u);
}

TEST(MountData, HeadingInAnyLetterCaseAndNoHeadingAtAll)
{
    for (const char* heading : { "MOUNT TYPE", "mount type", "mOuNt TyPe" }) {
        std::string text = twoTypesOneSize;
        text.replace(0, 10, heading);
        EXPECT_EQ(ReadSection(text)->GetSizeCount(), 1u) << heading;
    }
    const auto none = ReadSection("Mount Typ,ID\r\nMount Description,,\"Card\",,\r\n");
    EXPECT_EQ(none->GetTypeCount(), 0u);
    EXPECT_EQ(none->GetSizeCount(), 0u);
    EXPECT_EQ(none->GetCode(0, 0), -1);
    EXPECT_EQ(none->GetMountDescription(0), "");
}

TEST(MountData, EmptySizeNameEndsTheSection)
{
    const auto mounts = ReadSection(twoTypesOneSize + ",\"1\",\"3\",\"4\",,\"1\",\"2\",,\r\n"
        + "\"10x8\",\"2\",\"3\",\"4\",,\"1\",\"2\",,\r\n");
    EXPECT_EQ(mounts->GetSizeCount(), 1u);
}

// Lists of uneven length: a section cut off by the end of the file still gives every size one
// price and one code per mount type (0 and no code where the file stops).
TEST(MountData, UnevenListsAtTheEndOfTheFile)
{
    const auto mounts = ReadSection("Mount Type,ID,\"0\",\"1\",\"2\",,\r\n"
                                    "Mount Description,,\"Card\",\"Folder\",\"Frame\"\r\n"
                                    "\"7x5\",\"0\",\"1\",\"2\",\"3\",,\"7\",\"8\",\"9\",,\r\n"
                                    "\"10x8\",\"1\",\"4\",\"5\"");
    EXPECT_EQ(Dump(*mounts),
        "type Card\ntype Folder\ntype Frame\n"
        "size 7x5: 1.00 2.00 3.00 / 7 8 9\n"
        "size 10x8: 4.00 5.00 0.00 / -1 -1 -1\n");
}

// A line whose last field already ended it is not skipped once more: without the trailing empty
// fields, the descriptions' line and each size row would otherwise take the next line with them.
TEST(MountData, LinesWithoutTrailingEmptyFieldsKeepTheNextLine)
{
    const auto mounts = ReadSection("Mount Type\r\n"
                                    "Mount Description,,\"Card\",\"Folder\"\r\n"
                                    "\"7x5\",\"0\",\"1\",\"2\",,\"7\",\"8\"\r\n"
                                    "\"10x8\",\"1\",\"3\",\"4\",,\"9\",\"10\"\r\n"
                                    "\"12x10\",\"2\",\"5\",\"6\",,\"11\",\"12\"\r\n");
    EXPECT_EQ(Dump(*mounts),
        "type Card\ntype Folder\n"
        "size 7x5: 1.00 2.00 / 7 8\n"
        "size 10x8: 3.00 4.00 / 9 10\n"
        "size 12x10: 5.00 6.00 / 11 12\n");
}

TEST(MountData, AddMountTypeGivesEverySizeAnEntry)
{
    auto mounts = ReadSection("Mount Type\r\nMount Description,,\"Card\",,\r\n"
                              "\"a\",\"0\",\"1\",,\"1\",,\r\n\"b\",\"1\",\"2\",,\"2\",,\r\n"
                              "\"c\",\"2\",\"3\",,\"3\",,\r\n");
    mounts->AddMountType("Frame", { Money(10), Money(20), Money(30) }, { 4, 5, 6 });
    EXPECT_EQ(Dump(*mounts),
        "type Card\ntype Frame\nsize a: 1.00 0.10 / 1 4\nsize b: 2.00 0.20 / 2 5\nsize c: 3.00 0.30 / 3 6\n");
    EXPECT_TRUE(mounts->IsFieldModified(MountData::fieldDescriptions));
    EXPECT_TRUE(mounts->GetSizes()[2]->IsFieldModified(MountSizeData::fieldCodes));

    // Lists shorter than the sizes: the sizes beyond them get price 0 and no code.
    mounts->AddMountType("Box", { Money(99) }, {});
    EXPECT_EQ(Dump(*mounts),
        "type Card\ntype Frame\ntype Box\nsize a: 1.00 0.10 0.99 / 1 4 -1\n"
        "size b: 2.00 0.20 0.00 / 2 5 -1\nsize c: 3.00 0.30 0.00 / 3 6 -1\n");
}

TEST(MountData, CopiesShareNoSizeAndCopyingItselfKeepsEverything)
{
    auto mounts = ReadSection(twoTypesOneSize);
    MountData copy;
    copy.CopyFrom(*mounts);
    EXPECT_EQ(Dump(copy), Dump(*mounts));
    EXPECT_NE(copy.GetSizes()[0], mounts->GetSizes()[0]);
    mounts->CopyFrom(*mounts);
    EXPECT_EQ(Dump(*mounts), Dump(copy));
    MountSizeData& size = *mounts->GetSizes()[0];
    size.CopyFrom(size);
    EXPECT_EQ(Dump(*mounts), Dump(copy));
}

TEST(MountData, WrittenSectionReadsBack)
{
    const auto mounts
        = ReadSection(twoTypesOneSize + "\"10x8\",\"1\",\"12345.67\",\"(0.01)\",,\"-3\",\"0\",,\r\n");
    std::ostringstream out;
    mounts->WriteCsv(out);
    EXPECT_EQ(out.str(),
        "Mount Type,ID,\"0\",\"1\",,\r\nMount Description,,\"Card\",\"Folder\",,\r\n"
        "\"7x5\",\"0\",\"1.50\",\"2.00\",,\"7\",\"8\",,\r\n"
        "\"10x8\",\"1\",\"12345.67\",\"-0.01\",,\"-3\",\"0\",,\r\n");
    EXPECT_EQ(Dump(*ReadSection(out.str())), Dump(*mounts));
}

TEST(MountData, RecordMessagesAndArchivesRoundTrip)
{
    auto mounts = ReadSection(twoTypesOneSize + "\"10x8\",\"1\",\"3\",\"4\",,\"9\",\"10\",,\r\n");
    win::Archive archive;
    mounts->Store(archive);
    SavedDataVersion = CurrentDataVersion;
    MountData loaded;
    win::Archive in(archive.Bytes());
    loaded.Load(in);
    EXPECT_EQ(Dump(loaded), Dump(*mounts));
    EXPECT_EQ(in.Remaining(), 0u);

    // A message adding each size, then the descriptions.
    std::ostringstream message;
    for (const auto& size : mounts->GetSizes()) {
        message << Bytes({ 0, 20 }) << Le32(7);
        message.put(2);
        size->WriteFields(false, message, true);
    }
    message.put(2);
    mounts->WriteFields(false, message, true);
    MountData received;
    std::istringstream read(message.str());
    while (read.peek() != std::char_traits<char>::eof())
        received.ReadFields(read);
    EXPECT_EQ(Dump(received), Dump(*mounts));

    // Removing a size by its record id (the message ids are not kept, so none matches).
    std::istringstream remove(Bytes({ 1, 20 }) + Le32(7));
    received.ReadFields(remove);
    EXPECT_EQ(received.GetSizeCount(), 2u);
}

TEST(MountData, MessageReadersNameTheRecordOnAFaultyStream)
{
    MountSizeData size;
    std::istringstream ended("");
    ended.get();
    Money money;
    try {
        ReadDispatchMoney(size, ended, money);
        FAIL() << "no exception";
    } catch (const DatabaseRecord::DispatchReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Attempt to read Money from faulty stream: MountSizeData: 0: ");
    }
}

TEST(MountData, HostileCountsAllocateNothingAhead)
{
    MountData mounts;
    std::string sizes = Le32(0) + Le32(0xFFFFFFFF);
    SavedDataVersion = CurrentDataVersion;
    AllocationProbe probe;
    win::Archive archive(sizes);
    EXPECT_THROW(mounts.Load(archive), win::ArchiveException);
    win::Archive prices(Le32(0) + Le32(1) + Le32(0) + Le32(0x7FFFFFFF) + Le32(0) + Le32(0));
    EXPECT_THROW(mounts.Load(prices), win::ArchiveException);
    std::istringstream message(Bytes({ 2, 0, 0 }) + Le32(0x7FFFFFFF) + Le32(1) + "x");
    EXPECT_THROW(mounts.ReadFields(message), DatabaseRecord::DispatchReadError);
    EXPECT_LT(probe.Largest(), 4096u);
}

} // namespace
