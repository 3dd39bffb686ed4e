#include "RecordTestHelpers.h"
#include "SettingsFixture.h"
#include "model/Layout.h"
#include "model/MountData.h"
#include "model/PacksCollection.h"
#include "model/ProductCatalog.h"
#include "records/DataVersion.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace {

using Error = DatabaseRecord::DispatchReadError;

class RecordMessages : public SettingsFixture { };

bool AtEnd(std::istream& in)
{
    return in.peek() == std::char_traits<char>::eof();
}

TEST_F(RecordMessages, UnitFieldUpdateSetsRepeatCount)
{
    LayoutUnit unit(nullptr);
    unit.SetRepeatCount(1);
    std::istringstream in(Bytes({ 0x02, 0x04, 0x00, 0x03, 0x00, 0x00, 0x00, 0x0C, 0x00 }));
    EXPECT_EQ(unit.ReadFields(in), 2);
    EXPECT_EQ(unit.GetRepeatCount(), 3u);
    EXPECT_FALSE(unit.IsFieldModified(LayoutUnit::fieldRepeatCount));
    EXPECT_TRUE(AtEnd(in));
}

TEST_F(RecordMessages, PendingPaperWriteOfMarginTop)
{
    PaperSpecs paper(0);
    paper.ClearModified();
    paper.SetMarginTop(30);
    ASSERT_EQ(paper.GetModifiedMask(), 1u << 5);
    std::ostringstream out;
    paper.WriteFields(true, out, true);
    EXPECT_EQ(out.str(), Bytes({ 0x05, 0x00, 0x1E, 0x00, 0x00, 0x00, 0x08, 0x00 }));
    EXPECT_EQ(paper.GetModifiedMask(), 0u);
    std::ostringstream again;
    paper.WriteFields(true, again, true);
    EXPECT_EQ(again.str(), Bytes({ 0x08, 0x00 }));
}

TEST_F(RecordMessages, StringFieldIsIdLengthAndBytes)
{
    Layout layout;
    layout.ClearModified();
    layout.SetOverprintWord("Proof");
    std::ostringstream out;
    layout.WriteFields(true, out, false);
    EXPECT_EQ(out.str(), Bytes({ 0x05, 0x00, 0x05, 0x00, 0x00, 0x00 }) + "Proof");
}

TEST_F(RecordMessages, FullUnitWriteHasEveryFieldInIdOrder)
{
    LayoutUnit unit(nullptr);
    unit.SetName("A");
    unit.SetCaption("B");
    unit.SetPosition({ 1, -1 });
    unit.SetSize({ 2, 3 });
    unit.SetRepeatCount(4);
    unit.SetStep({ 5, 6 });
    unit.SetAlignment(2);
    unit.SetImageFlag(true);
    unit.SetQuarterTurns(3);
    std::ostringstream out;
    unit.WriteFields(false, out, true);
    const std::string expected = Bytes({ 0, 0, 1, 0, 0, 0 }) + "A" + Bytes({ 1, 0, 1, 0, 0, 0 }) + "B"
        + Bytes({ 2, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF }) + Bytes({ 3, 0, 2, 0, 0, 0, 3, 0, 0, 0 })
        + Bytes({ 4, 0, 4, 0, 0, 0 }) + Bytes({ 5, 0, 5, 0, 0, 0, 6, 0, 0, 0 }) + Bytes({ 6, 0, 1 })
        + Bytes({ 7, 0, 2, 0, 0, 0 }) + Bytes({ 8, 0, 1 }) + Bytes({ 9, 0, 3, 0, 0, 0 })
        + Bytes({ 10, 0, 100, 0, 0, 0 }) + Bytes({ 11, 0, 0 }) + Bytes({ 12, 0 });
    EXPECT_EQ(out.str(), expected);
    EXPECT_EQ(unit.GetModifiedMask(), 0u);
}

TEST_F(RecordMessages, MarkAllFieldsModifiedSetsOneBitPerField)
{
    Layout layout;
    LayoutUnit unit(nullptr);
    PaperSpecs paper(0);
    layout.MarkAllFieldsModified();
    unit.MarkAllFieldsModified();
    paper.MarkAllFieldsModified();
    EXPECT_EQ(layout.GetModifiedMask(), 0x1FFu);
    EXPECT_EQ(unit.GetModifiedMask(), 0xFFFu);
    EXPECT_EQ(paper.GetModifiedMask(), 0xFFu);
}

// Writes every field and reads the message back into a fresh record.
template <typename Record> void RoundTrip(Record& source, Record& target)
{
    std::ostringstream out;
    out << '\x02';
    source.WriteFields(false, out, true);
    target.MarkAllFieldsModified();
    std::istringstream in(out.str());
    EXPECT_EQ(target.ReadFields(in), 2);
    EXPECT_TRUE(AtEnd(in));
    EXPECT_EQ(target.GetModifiedMask(), 0u);
}

TEST_F(RecordMessages, UnitRoundTrip)
{
    LayoutUnit source(nullptr);
    source.SetName("Name, with \"quotes\"");
    source.SetCaption(std::string("multi\r\nline\0byte", 16));
    source.SetPosition({ -12, 345 });
    source.SetSize({ 630, 780 });
    source.SetRepeatCount(4000000000u);
    source.SetStep({ -100, 62 });
    source.SetVisible(false);
    source.SetAlignment(1);
    source.SetImageFlag(true);
    source.SetQuarterTurns(-7);
    source.SetFontSize(0);
    source.SetSingleOnly(true);
    LayoutUnit target(nullptr);
    RoundTrip(source, target);
    EXPECT_EQ(StoredFields(target), StoredFields(source));
    // The size field sets Width and Height only.
    EXPECT_EQ(target.GetItemSize(), (win::SIZE { 0, 0 }));
}

TEST_F(RecordMessages, PaperRoundTrip)
{
    PaperSpecs source(7);
    source.SetMarginLeft(-1);
    source.SetMarginRight(2);
    source.SetMarginTop(3);
    source.SetMarginBottom(4);
    source.SetPortrait(false);
    PaperSpecs target(0);
    RoundTrip(source, target);
    EXPECT_EQ(StoredFields(target), StoredFields(source));
}

TEST_F(RecordMessages, PaperIndexOutsideTheTableFromAMessage)
{
    const struct {
        int32_t type, height, width, expected;
    } cases[] = { { 99, 1016, 1524, 9 }, { -1, 10, 20, 10 }, { 11, 2970, 2100, 0 } };
    for (const auto& c : cases) {
        PaperSpecs paper(3);
        std::istringstream in(Bytes({ 0x02, 0x00, 0x00 }) + Le32(static_cast<uint32_t>(c.type))
            + Bytes({ 0x01, 0x00 }) + Le32(static_cast<uint32_t>(c.height)) + Bytes({ 0x02, 0x00 })
            + Le32(static_cast<uint32_t>(c.width)) + Bytes({ 0x08, 0x00 }));
        paper.ReadFields(in);
        EXPECT_EQ(paper.GetPaperType(), c.expected) << c.type;
        EXPECT_EQ(paper.GetPaperHeight(), c.height);
        EXPECT_EQ(paper.GetPaperWidth(), c.width);
    }
}

TEST_F(RecordMessages, LayoutRoundTripStoresTheTypeWithoutRebuildingTheTree)
{
    Layout source;
    source.SetLayoutType(2);
    source.SetBackgroundImage("back/ground.jpg");
    source.SetBackgroundPOD(false);
    source.SetPrintMainImage(true);
    source.SetOverprintCopyright(true);
    source.SetOverprintWord("");
    source.SetOverprintColour("FF8000");
    source.SetOverprintDiagonal(false);
    source.SetOverprintDiagWidth(12);
    Layout target;
    RoundTrip(source, target);
    EXPECT_EQ(StoredFields(target), StoredFields(source));
    EXPECT_EQ(target.GetLayoutType(), 2);
    EXPECT_EQ(target.GetRootUnit()->CountUnits(), 16); // still the portrait tree
}

TEST_F(RecordMessages, UnitAddsAndRemovesChildren)
{
    LayoutUnit parent(nullptr);
    parent.SetName("Master");
    const std::string add = Bytes({ 0x00, 0x1C }) + Le32(7) + Bytes({ 0x02, 0x00, 0x00 }) + Le32(4) + "New1"
        + Bytes({ 0x04, 0x00 }) + Le32(2) + Bytes({ 0x0C, 0x00 });
    std::istringstream in(add);
    EXPECT_EQ(parent.ReadFields(in), 0);
    EXPECT_TRUE(AtEnd(in));
    ASSERT_EQ(parent.GetChildren().size(), 1u);
    const auto& child = parent.GetChildren()[0];
    EXPECT_EQ(child->GetName(), "New1");
    EXPECT_EQ(child->GetRepeatCount(), 2u);
    EXPECT_EQ(child->GetParent(), &parent);

    // Removal by id: the child's id is 0 (a message does not store it); other ids or types remove nothing.
    for (const std::string& remove : { Bytes({ 0x01, 0x1C }) + Le32(5), Bytes({ 0x01, 0x1B }) + Le32(0) }) {
        std::istringstream removeIn(remove);
        EXPECT_EQ(parent.ReadFields(removeIn), 1);
        EXPECT_TRUE(AtEnd(removeIn));
        EXPECT_EQ(parent.GetChildren().size(), 1u);
    }
    std::istringstream removeIn(Bytes({ 0x01, 0x1C }) + Le32(0));
    EXPECT_EQ(parent.ReadFields(removeIn), 1);
    EXPECT_TRUE(parent.GetChildren().empty());
}

TEST_F(RecordMessages, LayoutPassesChildMessagesToItsRootAndPaper)
{
    Layout layout;
    const LayoutUnit* root = layout.GetRootUnit().get();
    std::istringstream toRoot(
        Bytes({ 0x00, 0x1C }) + Le32(3) + Bytes({ 0x02, 0x04, 0x00 }) + Le32(9) + Bytes({ 0x0C, 0x00 }));
    EXPECT_EQ(layout.ReadFields(toRoot), 0);
    EXPECT_EQ(layout.GetRootUnit().get(), root);
    EXPECT_EQ(root->GetRepeatCount(), 9u);
    EXPECT_EQ(root->CountUnits(), 16);

    std::istringstream toPaper(
        Bytes({ 0x00, 0x21 }) + Le32(3) + Bytes({ 0x02, 0x05, 0x00 }) + Le32(77) + Bytes({ 0x08, 0x00 }));
    EXPECT_EQ(layout.ReadFields(toPaper), 0);
    EXPECT_EQ(layout.GetPaper().GetMarginTop(), 77);

    // A remove message is read whole and changes nothing.
    std::istringstream remove(Bytes({ 0x01, 0x1C }) + Le32(0));
    EXPECT_EQ(layout.ReadFields(remove), 1);
    EXPECT_TRUE(AtEnd(remove));
    EXPECT_EQ(layout.GetRootUnit().get(), root);
}

TEST_F(RecordMessages, ReadingFromAnEmptyStreamNamesTheUnit)
{
    Layout layout;
    LayoutUnit* image = layout.GetRootUnit()->FindByName("PImage");
    std::istringstream in("");
    try {
        image->ReadFields(in);
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Attempt to read from faulty stream: LayoutUnit: 0: .Master.Port.PImage");
    }
}

enum class Target { unit, layout, paper };

struct HostileCase {
    const char* what;
    Target target;
    std::string bytes;
};

std::string DeepNesting(int levels)
{
    std::string bytes;
    for (int i = 0; i < levels; ++i)
        bytes += Bytes({ 0x00, 0x1C }) + Le32(1);
    return bytes + Bytes({ 0x02, 0x0C, 0x00 });
}

std::string Shape(const LayoutUnit& unit)
{
    std::string shape = unit.GetPath() + "\n";
    for (const auto& child : unit.GetChildren())
        shape += Shape(*child);
    return shape;
}

// Fields read before the failure keep their new values; the shape of the tree never changes.
TEST_F(RecordMessages, HostileMessagesThrowAndLeaveTheTreeShapeAsItWas)
{
    const HostileCase cases[] = {
        { "empty", Target::unit, "" },
        { "operation only", Target::unit, Bytes({ 0x02 }) },
        { "half a field id", Target::unit, Bytes({ 0x02, 0x04 }) },
        { "truncated value", Target::unit, Bytes({ 0x02, 0x04, 0x00, 0x03, 0x00 }) },
        { "no terminator", Target::unit, Bytes({ 0x02, 0x04, 0x00, 0x03, 0x00, 0x00, 0x00 }) },
        { "huge string length", Target::unit, Bytes({ 0x02, 0x00, 0x00 }) + Le32(0xFFFFFFFF) + "abc" },
        { "string longer than the bytes", Target::unit,
            Bytes({ 0x02, 0x01, 0x00 }) + Le32(1000) + "0123456789" },
        { "unknown field id", Target::unit, Bytes({ 0x02, 0x0D, 0x00, 0x01, 0x0C, 0x00 }) },
        { "field id FFFF", Target::unit, Bytes({ 0x02, 0xFF, 0xFF }) },
        { "unknown child type", Target::unit, Bytes({ 0x00, 0x1B }) + Le32(1) + Bytes({ 0x02, 0x09, 0x00 }) },
        { "truncated child header", Target::unit, Bytes({ 0x00, 0x1C, 0x01 }) },
        { "truncated child message", Target::unit,
            Bytes({ 0x00, 0x1C }) + Le32(1) + Bytes({ 0x02, 0x04, 0x00 }) },
        { "child without terminator", Target::unit,
            Bytes({ 0x00, 0x1C }) + Le32(1) + Bytes({ 0x00, 0x1C }) + Le32(2) + Bytes({ 0x02 }) },
        { "truncated remove", Target::unit, Bytes({ 0x01, 0x1C, 0x00, 0x00 }) },
        { "children nested too deeply", Target::unit, DeepNesting(200) },
        { "huge nesting", Target::unit, DeepNesting(100000) },
        { "layout empty", Target::layout, "" },
        { "layout unknown child type", Target::layout,
            Bytes({ 0x00, 0x63 }) + Le32(1) + Bytes({ 0x02, 0x09, 0x00 }) },
        { "layout unknown field id", Target::layout, Bytes({ 0x02, 0x0A, 0x00 }) },
        { "layout huge string", Target::layout, Bytes({ 0x02, 0x01, 0x00 }) + Le32(0x7FFFFFFF) },
        { "layout truncated root message", Target::layout,
            Bytes({ 0x00, 0x1C }) + Le32(1) + Bytes({ 0x02 }) },
        { "layout truncated paper message", Target::layout,
            Bytes({ 0x00, 0x21 }) + Le32(1) + Bytes({ 0x02, 0x08 }) },
        { "layout truncated remove", Target::layout, Bytes({ 0x01 }) },
        { "paper empty", Target::paper, "" },
        { "paper unknown field id", Target::paper, Bytes({ 0x02, 0x09, 0x00 }) },
        { "paper truncated value", Target::paper, Bytes({ 0x02, 0x00, 0x00, 0x01 }) },
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.what);
        Layout layout;
        const std::string before = Shape(*layout.GetRootUnit());
        std::istringstream in(c.bytes);
        const AllocationProbe probe;
        switch (c.target) {
        case Target::unit:
            EXPECT_THROW(layout.GetRootUnit()->FindByName("Port")->ReadFields(in), Error);
            break;
        case Target::layout:
            EXPECT_THROW(layout.ReadFields(in), Error);
            break;
        case Target::paper:
            EXPECT_THROW(layout.GetPaper().ReadFields(in), Error);
            break;
        }
        EXPECT_LT(probe.Largest(), std::size_t { 1 } << 20)
            << "no length or count from the message is allocated";
        EXPECT_EQ(Shape(*layout.GetRootUnit()), before);
    }
}

// An add-child message whose embedded message ends part way (after the operation and one field
// id) throws; the collection keeps no half-read child, whichever collection it is.
TEST_F(RecordMessages, ACollectionKeepsNoChildWhoseMessageIsCutShort)
{
    PacksCollection packs;
    MountData mounts;
    ProductCatalog catalog;
    LayoutUnit unit(nullptr);
    const struct {
        const char* what;
        DatabaseRecord& record;
        RecordType childType;
        std::function<std::size_t()> count;
    } cases[] = {
        { "packs", packs, RecordType::ctPackDetails, [&] { return packs.GetPackCount(); } },
        { "mount sizes", mounts, RecordType::ctMountSizeData, [&] { return mounts.GetSizeCount(); } },
        { "products", catalog, RecordType::ctProductDetails, [&] { return catalog.GetCount(); } },
        { "units", unit, RecordType::ctLayoutUnit, [&] { return unit.GetChildren().size(); } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::istringstream in(
            Bytes({ 0x00, static_cast<int>(c.childType) }) + Le32(9) + Bytes({ 0x02, 0x01, 0x00 }));
        EXPECT_THROW(c.record.ReadFields(in), Error);
        EXPECT_EQ(c.count(), 0u);
    }
}

TEST_F(RecordMessages, NestingWithinTheLimitIsRead)
{
    LayoutUnit root(nullptr);
    std::istringstream in(DeepNesting(LayoutUnit::maxMessageDepth));
    root.ReadFields(in);
    EXPECT_EQ(root.CountUnits(), LayoutUnit::maxMessageDepth + 1);
}

} // namespace
