#include "DocumentFixture.h"
#include "app/document/DocumentHints.h"
#include "app/document/LayoutUnitUndo.h"
#include "platform/qt/fw/CmdUI.h"
#include "platform/qt/fw/CommandIds.h"

namespace doctest {
namespace {

// A step that counts how often it was applied and whether it is still alive.
class CountingStep : public Undo {
public:
    CountingStep(int id, std::vector<int>& applied, int& alive)
        : Undo("Step " + std::to_string(id))
        , id_(id)
        , applied_(applied)
        , alive_(alive)
    {
        ++alive_;
    }
    ~CountingStep() override { --alive_; }
    bool Apply(COrvanelDoc&) override
    {
        applied_.push_back(id_);
        return true;
    }
    void Reapply(COrvanelDoc&) override { }

private:
    int id_;
    std::vector<int>& applied_;
    int& alive_;
};

using UndoTest = DocumentTest;

LayoutUnit& Unit(COrvanelDoc& document, const std::string& name)
{
    LayoutUnit* unit = document.GetLayout().GetRootUnit()->FindByName(name);
    EXPECT_NE(unit, nullptr) << name;
    return *unit;
}

// What the drawing view does at the end of a drag: record the step, move, tell the document.
void Drag(COrvanelDoc& document, const std::string& name, win::POINT delta)
{
    LayoutUnit& unit = Unit(document, name);
    GetUndoManager().AddUndo(std::make_unique<LayoutUnitUndo>(unit));
    unit.MoveBy(delta);
    document.UnitMoved(true);
}

fw::CmdUI UpdateUndoCommand(COrvanelDoc& document)
{
    fw::CmdUI ui(fw::ID_EDIT_UNDO);
    EXPECT_TRUE(ui.DoUpdate(document));
    return ui;
}

TEST_F(UndoTest, DragOfAUnitWithChildrenThenUndoRestoresTheSubtreeInPlace)
{
    const std::string before = LayoutBytes(document->GetLayout());
    LayoutUnit* const parent = Unit(*document, "Port").GetParent();
    const std::size_t children = Unit(*document, "Port").GetChildren().size();
    ASSERT_GT(children, 0u);
    Drag(*document, "Port", { 150, -70 });
    ASSERT_NE(LayoutBytes(document->GetLayout()), before);

    document->OnEditUndo();

    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
    LayoutUnit& port = Unit(*document, "Port");
    EXPECT_EQ(port.GetParent(), parent);
    for (const auto& child : port.GetChildren())
        EXPECT_EQ(child->GetParent(), &port);
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(TakeHints(), (Hints { hint::everything, hint::layoutReplaced }));
    // A second Undo has nothing left to take back.
    document->OnEditUndo();
    EXPECT_EQ(LayoutBytes(document->GetLayout()), before);
    EXPECT_EQ(GetUndoManager().GetRedoCount(), 1u);
}

TEST_F(UndoTest, UndoAfterASaveMarksTheLayoutModified)
{
    Drag(*document, "PImage", { 40, 40 });
    ASSERT_TRUE(document->WriteLayout(Path("saved.txt")));
    ASSERT_FALSE(document->IsModified());
    document->OnEditUndo();
    EXPECT_TRUE(document->IsModified()) << "the layout differs from the file";
}

TEST_F(UndoTest, KeepsTheTwentyNewestStepsAndTakesThemBackNewestFirst)
{
    EXPECT_EQ(GetUndoManager().GetLimit(), 20u) << "the document sets the limit";
    std::vector<int> applied;
    int alive = 0;
    for (int id = 1; id <= 21; ++id)
        GetUndoManager().AddUndo(std::make_unique<CountingStep>(id, applied, alive));
    EXPECT_EQ(alive, 20) << "the oldest step is destroyed";
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 20u);
    EXPECT_EQ(GetUndoManager().GetUndoText(0), "Undo Step 21");
    EXPECT_EQ(GetUndoManager().GetUndoText(19), "Undo Step 2");
    EXPECT_EQ(GetUndoManager().GetUndoText(20), "Undo ");
    document->OnEditUndo();
    document->OnEditUndo();
    EXPECT_EQ(applied, (std::vector<int> { 21, 20 }));
    EXPECT_EQ(GetUndoManager().GetRedoText(0), "Redo Step 20");

    GetUndoManager().SetLimit(5);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 5u);
    EXPECT_EQ(GetUndoManager().GetUndoText(0), "Undo Step 19");
    EXPECT_EQ(alive, 7);
    // A new step empties the redo list.
    GetUndoManager().AddUndo(std::make_unique<CountingStep>(22, applied, alive));
    EXPECT_EQ(GetUndoManager().GetRedoCount(), 0u);
    EXPECT_EQ(alive, 5);
}

TEST_F(UndoTest, TheCommandShowsTheNewestStepAndIsEnabledOnlyWithOne)
{
    fw::CmdUI empty = UpdateUndoCommand(*document);
    EXPECT_EQ(empty.Text(), "Undo \tCtrl+Z");
    EXPECT_FALSE(empty.IsEnabled());
    Drag(*document, "PImage", { 10, 0 });
    fw::CmdUI one = UpdateUndoCommand(*document);
    EXPECT_EQ(one.Text(), "Undo Layout Move\tCtrl+Z");
    EXPECT_TRUE(one.IsEnabled());
}

TEST_F(UndoTest, AStepWhoseUnitIsGoneChangesNothing)
{
    Drag(*document, "PImage", { 10, 0 });
    document->GetLayout().SetLayoutType(1); // group: no "PImage"
    document->SetModifiedFlag(win::FALSE);
    const std::string group = LayoutBytes(document->GetLayout());
    document->OnEditUndo();
    EXPECT_EQ(LayoutBytes(document->GetLayout()), group);
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(GetUndoManager().GetRedoCount(), 1u);
}

// New and a successful Open start a new undo history; a refused Open keeps it.
TEST_F(UndoTest, NewAndOpenClearTheStepsOfTheOldLayout)
{
    const std::string defaults = LayoutBytes(document->GetLayout());
    WriteBytes(Path("layout.txt"), defaults);
    WriteBytes(Path("other.txt"), "not a layout\r\n");

    Drag(*document, "PImage", { 10, 0 });
    document->SetModifiedFlag(win::FALSE);
    modal->AnswerNext(win::IDOK); // "... is not a layout file": refused, nothing replaced
    document->OpenLayout(Path("other.txt"));
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 1u);
    document->OpenLayout(Path("layout.txt"));
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);

    Drag(*document, "PImage", { 10, 0 });
    document->SetModifiedFlag(win::FALSE);
    document->OnNewDocument();
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
    Unit(*document, "PImage").MoveBy({ 0, 25 });
    const std::string moved = LayoutBytes(document->GetLayout());
    document->OnEditUndo();
    EXPECT_EQ(LayoutBytes(document->GetLayout()), moved) << "a step of the old layout moved a unit";
}

} // namespace
} // namespace doctest
