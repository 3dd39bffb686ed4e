#include "RecordTestHelpers.h"
#include "SettingsFixture.h"
#include "model/Layout.h"
#include "records/DataVersion.h"
#include "win/AllocationProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using win::Archive;
using win::ArchiveException;

class RecordArchives : public SettingsFixture {
protected:
    void SetUp() override
    {
        SettingsFixture::SetUp();
        SavedDataVersion = CurrentDataVersion;
    }
    void TearDown() override
    {
        ResetSavedDataVersion();
        SettingsFixture::TearDown();
    }
};

// A group layout with every kind of value changed.
void FillLayout(Layout& layout)
{
    layout.SetLayoutType(1);
    layout.SetBackgroundImage("pictures/back.jpg");
    layout.SetBackgroundPOD(false);
    layout.SetPrintMainImage(true);
    layout.SetOverprintCopyright(true);
    layout.SetOverprintWord("Sample");
    layout.SetOverprintColour("FF0010");
    layout.SetOverprintDiagonal(false);
    layout.SetOverprintDiagWidth(9);
    layout.SetLoaded(true);
    LayoutUnit& root = *layout.GetRootUnit();
    root.FindByName("GImage")->MoveBy({ 13, -7 });
    root.FindByName("GImage")->SetQuarterTurns(1);
    root.FindByName("GPacks")->SetRepeatCount(6);
    root.FindByName("GPrice")->SetSingleOnly(true);
    root.FindByName("GPrice")->SetCaption("Price");
    root.FindByName("ExtraTxt4")->SetVisible(false);
    root.FindByName("ExtraTxt4")->SetAlignment(1);
    root.FindByName("GBarcode")->SetFontSize(0);
    layout.GetPaper().SelectPaper(3);
    layout.GetPaper().SetMarginLeft(-4);
    layout.GetPaper().SetPortrait(false);
}

TEST_F(RecordArchives, PaperBytes)
{
    PaperSpecs paper(4);
    paper.SetMarginBottom(-2);
    Archive out;
    paper.Store(out);
    EXPECT_EQ(out.Bytes(),
        Le32(0) + Le32(4) + Le32(2032) + Le32(1524) + Le32(30) + Le32(30) + Le32(30) + Le32(0xFFFFFFFE)
            + Bytes({ 1 }));
}

TEST_F(RecordArchives, UnitBytesCarryTheChildrenAfterTheUnit)
{
    LayoutUnit unit(nullptr);
    unit.SetName("A");
    unit.SetPosition({ 1, 2 });
    unit.SetSize({ 3, 4 });
    unit.SetRepeatCount(5);
    unit.SetStep({ 6, 7 });
    unit.SetSingleOnly(true);
    unit.SetAlignment(2);
    unit.SetQuarterTurns(3);
    unit.AddChild("B");
    Archive out;
    unit.Store(out);
    const std::string fieldsOfA = Bytes({ 1, 'A', 1, 'A' }) + Le32(0) + Le32(1) + Le32(2) + Le32(3) + Le32(4)
        + Le32(5) + Le32(6) + Le32(7) + Bytes({ 1, 1 }) + Le32(2) + Bytes({ 0 }) + Le32(3) + Le32(100);
    const std::string fieldsOfB = Bytes({ 1, 'B', 1, 'B' }) + Le32(0) + Le32(0) + Le32(0) + Le32(0) + Le32(0)
        + Le32(1) + Le32(0) + Le32(0) + Bytes({ 0, 1 }) + Le32(0) + Bytes({ 0 }) + Le32(0) + Le32(100);
    EXPECT_EQ(out.Bytes(), fieldsOfA + fieldsOfB);
}

TEST_F(RecordArchives, LayoutRoundTrip)
{
    Layout source;
    FillLayout(source);
    Archive out;
    source.Store(out);

    Layout target;
    target.MarkAllFieldsModified();
    Archive in(out.Bytes());
    target.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(StoredFields(target), StoredFields(source));
    EXPECT_EQ(StoredFields(*target.GetRootUnit()), StoredFields(*source.GetRootUnit()));
    EXPECT_EQ(StoredFields(target.GetPaper()), StoredFields(source.GetPaper()));
    EXPECT_TRUE(target.IsLoaded());
    EXPECT_EQ(target.GetModifiedMask(), 0u);
    // Item sizes take the stored Width and Height.
    EXPECT_EQ(target.GetRootUnit()->FindByName("GImage")->GetItemSize(), (win::SIZE { 1267, 680 }));
}

TEST_F(RecordArchives, LayoutLoadRebuildsByTypeAndMatchesUnitsByName)
{
    Layout source; // portrait
    source.GetRootUnit()->FindByName("ExtraTxt2")->SetPosition({ 1, 2 });
    LayoutUnit& image = *source.GetRootUnit()->FindByName("PImage");
    image.SetName("Mystery"); // a name the loading layout lacks
    image.SetPosition({ 999, 999 });
    source.SetLoaded(true);
    Archive out;
    source.Store(out);

    Layout target;
    target.SetLayoutType(1);
    target.GetRootUnit()->FindByName("ExtraTxt2")->SetPosition({ 5, 5 });
    Archive in(out.Bytes());
    target.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    // The stored type rebuilds the tree first, then the units named in the archive take their values.
    EXPECT_EQ(target.GetLayoutType(), 0);
    EXPECT_EQ(target.GetRootUnit()->FindByName("ExtraTxt2")->GetPosition(), (win::POINT { 1, 2 }));
    EXPECT_EQ(target.GetRootUnit()->FindByName("Mystery"), nullptr);
    EXPECT_EQ(target.GetRootUnit()->FindByName("PImage")->GetPosition(), (win::POINT { 30, 30 }));
    EXPECT_EQ(target.GetRootUnit()->CountUnits(), 16);
    EXPECT_TRUE(target.IsLoaded());
}

// A layout archive up to and including its unit count, with a value of its own in every field:
// layout id 11 and paper id 22 (when the version has ids), type 0, paper index 4 (2032 x 1524)
// with margins 1, 2, 3, 4 in landscape, background "back.jpg" printed, the main image printed,
// the copyright overprint "Word" in FF0010 without its diagonal, of width 7.
Archive LayoutHead(bool withIds, uint32_t unitCount)
{
    Archive form;
    if (withIds)
        form << uint32_t { 11 };
    form << int32_t { 0 };
    if (withIds)
        form << uint32_t { 22 };
    for (const int32_t v : { 4, 2032, 1524, 1, 2, 3, 4 })
        form << v;
    form << false;
    form.WriteString("back.jpg");
    form << false << true << true;
    form.WriteString("Word");
    form.WriteString("FF0010");
    form << false << uint32_t { 7 } << unitCount;
    return form;
}

TEST_F(RecordArchives, OlderVersionsLackCaptionIdAndSingleOnly)
{
    // A unit form of version 2.0: no caption, no id, no SingleOnly.
    const std::string unitForm = Le32(10) + Le32(20) + Le32(30) + Le32(40) + Le32(2) + Le32(5) + Le32(0)
        + Bytes({ 0 }) + Le32(1) + Bytes({ 1 }) + Le32(2) + Le32(90);
    LayoutUnit unit(nullptr);
    unit.SetName("ExtraTxt1");
    unit.SetCaption("Old caption");
    unit.SetSingleOnly(true);
    SavedDataVersion = 2.0;
    Archive in(unitForm);
    unit.Load(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(StoredFields(unit),
        ".ExtraTxt1 caption=ExtraTxt1 id=0 at=10,20 size=30x40 repeat=2 step=5,0 single=1 visible=0 align=1 "
        "image=1 turns=2 font=90\n");
    EXPECT_EQ(unit.GetItemSize(), (win::SIZE { 30, 40 }));
    EXPECT_EQ(unit.GetModifiedMask(), 0u);

    // A layout of version 2.0 hides ExtraTxt3 to ExtraTxt8 and has no id.
    Archive layoutForm = LayoutHead(false, 1);
    layoutForm.WriteString("ExtraTxt1");
    layoutForm.Write(unitForm.data(), unitForm.size());
    layoutForm << true;
    Layout layout;
    Archive layoutIn(layoutForm.Bytes());
    layout.Load(layoutIn);
    EXPECT_EQ(layoutIn.Remaining(), 0u);
    for (int n = 1; n <= 8; ++n)
        EXPECT_EQ(layout.GetRootUnit()->FindByName("ExtraTxt" + std::to_string(n))->GetVisible(), n == 2)
            << n;
    EXPECT_EQ(layout.GetRootUnit()->FindByName("ExtraTxt1")->GetFontSize(), 90u);
}

// A layout archive written field by field as a file of the given version holds it: the caption
// after 2.062, ids after 2.2, SingleOnly after 2.0431. Each comparison is strictly greater than
// its threshold, so the threshold itself still lacks the field, and a reader that misplaces one
// reads the bytes out of step.
TEST_F(RecordArchives, VersionThresholdsAreStrict)
{
    const struct {
        double version;
        bool caption, id, singleOnly, hidesLateExtraTexts;
    } cases[] = {
        { 2.0431, false, false, false, true },
        { 2.0432, false, false, true, true },
        { 2.0619, false, false, true, true },
        { 2.062, false, false, true, false },
        { 2.0621, true, false, true, false },
        { 2.2, true, false, true, false },
        { 2.2001, true, true, true, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        Archive form = LayoutHead(c.id, 1);
        form.WriteString("ExtraTxt1");
        if (c.caption)
            form.WriteString("Caption");
        if (c.id)
            form << uint32_t { 33 };
        for (const int32_t v : { 10, 20, 30, 40 })
            form << v;
        form << uint32_t { 2 } << int32_t { 5 } << int32_t { 0 };
        if (c.singleOnly)
            form << true;
        form << true << int32_t { 1 } << false << int32_t { 3 } << uint32_t { 90 } << true;

        SavedDataVersion = c.version;
        Layout layout;
        Archive in(form.Bytes());
        layout.Load(in);
        EXPECT_EQ(in.Remaining(), 0u);
        EXPECT_EQ(layout.GetId(), c.id ? 11u : 0u);
        EXPECT_EQ(layout.GetPaper().GetId(), c.id ? 22u : 0u);
        EXPECT_EQ(StoredFields(layout.GetPaper()),
            "paper id=" + std::string(c.id ? "22" : "0") + " type=4 2032x1524 margins=1,2,3,4 portrait=0");
        EXPECT_EQ(layout.GetOverprintDiagWidth(), 7u);
        EXPECT_TRUE(layout.IsLoaded());
        const LayoutUnit& unit = *layout.GetRootUnit()->FindByName("ExtraTxt1");
        EXPECT_EQ(StoredFields(unit),
            ".Master.ExtraTxt1 caption=" + std::string(c.caption ? "Caption" : "ExtraTxt1")
                + " id=" + (c.id ? "33" : "0") + " at=10,20 size=30x40 repeat=2 step=5,0 single="
                + (c.singleOnly ? "1" : "0") + " visible=1 align=1 image=0 turns=3 font=90\n");
        for (int n = 3; n <= 8; ++n)
            EXPECT_EQ(layout.GetRootUnit()->FindByName("ExtraTxt" + std::to_string(n))->GetVisible(),
                !c.hidesLateExtraTexts)
                << n;
    }
}

TEST_F(RecordArchives, EveryTruncationThrowsTheArchiveError)
{
    Layout source;
    FillLayout(source);
    Archive out;
    source.Store(out);
    const std::string& bytes = out.Bytes();
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        Layout target;
        Archive in(bytes.substr(0, length));
        EXPECT_THROW(target.Load(in), ArchiveException) << length;
    }
}

TEST_F(RecordArchives, HugeUnitCountEndsAtTheEndOfTheData)
{
    const Archive form = LayoutHead(true, 0xFFFFFFFF);
    Layout layout;
    Archive in(form.Bytes());
    const AllocationProbe probe;
    EXPECT_THROW(layout.Load(in), ArchiveException);
    EXPECT_LT(probe.Largest(), std::size_t { 1 } << 16) << "the count drives no allocation";
}

TEST_F(RecordArchives, PaperIndexOutsideTheTableFromAnArchive)
{
    const struct {
        int32_t type, height, width, expected;
    } cases[] = { { 99, 1016, 1524, 9 }, { -1, 500, 500, 10 }, { 10, 2970, 2100, 10 } };
    for (const auto& c : cases) {
        Archive form;
        form << uint32_t { 0 } << c.type << c.height << c.width;
        for (const int32_t v : { 30, 30, 30, 30 })
            form << v;
        form << true;
        PaperSpecs paper(0);
        Archive in(form.Bytes());
        paper.Load(in);
        EXPECT_EQ(paper.GetPaperType(), c.expected) << c.type;
        EXPECT_EQ(paper.GetPaperHeight(), c.height);
        EXPECT_EQ(paper.GetPaperWidth(), c.width);
    }
}

class RecordOperations : public RecordArchives { };

TEST_F(RecordOperations, Descriptions)
{
    Layout layout;
    EXPECT_EQ(layout.Describe(), "Layout: 0");
    EXPECT_EQ(layout.GetPaper().Describe(), "PaperSpecs: 0");
    EXPECT_EQ(layout.GetRootUnit()->FindByName("PImage")->Describe(), "LayoutUnit: 0: .Master.Port.PImage");
}

TEST_F(RecordOperations, UnitCloneCopiesOwnFieldsOnly)
{
    Layout layout;
    LayoutUnit& packs = *layout.GetRootUnit()->FindByName("PPacks");
    packs.SetQuarterTurns(2);
    packs.SetSingleOnly(true);
    packs.SetItemSize({ 11, 12 });
    packs.SetCurrentItem(3);

    LayoutUnit target(nullptr);
    target.AddChild("Own");
    EXPECT_EQ(packs.Clone(target), &target);
    EXPECT_EQ(StoredFields(target, false), StoredFields(packs, false).replace(0, 19, ".PPacks"));
    EXPECT_EQ(target.GetParent(), nullptr);
    EXPECT_EQ(target.CountUnits(), 2);
    EXPECT_EQ(target.GetItemSize(), (win::SIZE { 0, 0 }));
    EXPECT_EQ(target.GetCurrentItem(), 0);

    const auto fresh = packs.Clone();
    auto* unit = dynamic_cast<LayoutUnit*>(fresh.get());
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->GetParent(), packs.GetParent());
    EXPECT_EQ(StoredFields(*unit, false), StoredFields(packs, false));
    EXPECT_EQ(unit->CountUnits(), 1);

    EXPECT_EQ(packs.Clone(layout.GetPaper()), nullptr);
}

TEST_F(RecordOperations, LayoutAndPaperClones)
{
    Layout source;
    FillLayout(source);
    Layout target;
    EXPECT_EQ(source.Clone(target), &target);
    EXPECT_EQ(StoredFields(target), StoredFields(source));
    EXPECT_EQ(target.GetRootUnit()->CountUnits(), 16); // the type came without its tree
    EXPECT_FALSE(target.IsLoaded());
    EXPECT_EQ(target.GetPaper().GetPaperType(), 0);

    const auto freshLayout = source.Clone();
    auto* layout = dynamic_cast<Layout*>(freshLayout.get());
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(StoredFields(*layout), StoredFields(source));

    const auto freshPaper = source.GetPaper().Clone();
    auto* paper = dynamic_cast<PaperSpecs*>(freshPaper.get());
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(StoredFields(*paper), StoredFields(source.GetPaper()));
    EXPECT_EQ(source.GetPaper().Clone(target), nullptr);
    EXPECT_EQ(source.Clone(source.GetPaper()), nullptr);
}

class CountingAction : public DatabaseRecord::TraverseAction {
public:
    bool Apply(DatabaseRecord& record) override
    {
        visited.push_back(&record);
        return true;
    }
    std::vector<DatabaseRecord*> visited;
};

TEST_F(RecordOperations, TraverseVisitsTheRecordItselfOnly)
{
    Layout layout;
    CountingAction action;
    EXPECT_FALSE(layout.Traverse(action));
    EXPECT_FALSE(layout.GetRootUnit()->Traverse(action));
    EXPECT_FALSE(layout.GetPaper().Traverse(action));
    EXPECT_EQ(action.visited,
        (std::vector<DatabaseRecord*> { &layout, static_cast<DatabaseRecord*>(layout.GetRootUnit().get()) }));
}

} // namespace
