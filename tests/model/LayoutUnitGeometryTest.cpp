#include "model/LayoutUnit.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace {

using win::POINT;
using win::RECT;
using win::SIZE;

// A root at (100, 200) turned by the given quarter turns, holding a parent at (30, 50) with its own
// turns, holding a child at (70, -20) turned once, holding a grandchild at (5, 9).
struct Chain {
    std::shared_ptr<LayoutUnit> root = std::make_shared<LayoutUnit>(nullptr);
    std::shared_ptr<LayoutUnit> parent;
    std::shared_ptr<LayoutUnit> child;
    std::shared_ptr<LayoutUnit> grandchild;

    Chain(int rootTurns, int parentTurns)
    {
        root->SetName("Master");
        root->SetPosition({ 100, 200 });
        root->SetQuarterTurns(rootTurns);
        parent = root->AddChild("Parent");
        parent->SetPosition({ 30, 50 });
        parent->SetQuarterTurns(parentTurns);
        child = parent->AddChild("Child");
        child->SetPosition({ 70, -20 });
        child->SetQuarterTurns(1);
        grandchild = child->AddChild("Grandchild");
        grandchild->SetPosition({ 5, 9 });
    }
};

struct TurnCase {
    int rootTurns;
    POINT expectedParent; // the parent's offset (30, 50) turned by the root's turns, plus (100, 200)
};

void PrintTo(const TurnCase& c, std::ostream* os)
{
    *os << "root turns " << c.rootTurns;
}

class ParentTurns : public ::testing::TestWithParam<TurnCase> { };

TEST_P(ParentTurns, ChildOffsetTurnsWithTheParent)
{
    const Chain chain(GetParam().rootTurns, 0);
    EXPECT_EQ(chain.parent->GetAbsolutePosition(), GetParam().expectedParent);
}

TEST_P(ParentTurns, SetAbsolutePositionOfItsOwnPositionChangesNothing)
{
    for (int parentTurns = 0; parentTurns < 4; ++parentTurns) {
        Chain chain(GetParam().rootTurns, parentTurns);
        for (LayoutUnit* unit : { chain.parent.get(), chain.child.get(), chain.grandchild.get() }) {
            const POINT before = unit->GetPosition();
            unit->SetAbsolutePosition(unit->GetAbsolutePosition());
            EXPECT_EQ(unit->GetPosition(), before) << unit->GetName() << " parent turns " << parentTurns;
        }
    }
}

TEST_P(ParentTurns, SetAbsolutePositionPlacesTheUnitThere)
{
    for (int parentTurns = 0; parentTurns < 4; ++parentTurns) {
        Chain chain(GetParam().rootTurns, parentTurns);
        chain.grandchild->SetAbsolutePosition({ -321, 4567 });
        EXPECT_EQ(chain.grandchild->GetAbsolutePosition(), (POINT { -321, 4567 }));
    }
}

TEST_P(ParentTurns, MoveByMovesTheAbsolutePositionByExactlyTheDelta)
{
    const POINT deltas[] = { { 7, 0 }, { 0, -11 }, { 13, 17 }, { -250, 40 } };
    for (int parentTurns = 0; parentTurns < 4; ++parentTurns) {
        for (const POINT d : deltas) {
            Chain chain(GetParam().rootTurns, parentTurns);
            for (LayoutUnit* unit : { chain.root.get(), chain.parent.get(), chain.child.get() }) {
                const POINT before = unit->GetAbsolutePosition();
                const POINT grandchildBefore = chain.grandchild->GetAbsolutePosition();
                unit->MoveBy(d);
                EXPECT_EQ(unit->GetAbsolutePosition(), (POINT { before.x + d.x, before.y + d.y }))
                    << unit->GetName() << " parent turns " << parentTurns;
                // The subtree moves along.
                EXPECT_EQ(chain.grandchild->GetAbsolutePosition(),
                    (POINT { grandchildBefore.x + d.x, grandchildBefore.y + d.y }));
            }
        }
    }
}

// Counts outside 0 to 3 (from files or archives) are taken modulo 4.
INSTANTIATE_TEST_SUITE_P(EveryTurn, ParentTurns,
    ::testing::Values(TurnCase { 0, { 130, 250 } }, TurnCase { 1, { 50, 230 } }, TurnCase { 2, { 70, 150 } },
        TurnCase { 3, { 150, 170 } }, TurnCase { -1, { 150, 170 } }, TurnCase { 5, { 50, 230 } },
        TurnCase { -6, { 70, 150 } }));

TEST(LayoutUnitGeometry, StepTurnsWithTheUnitAndCurrentItemOverridesTheIndex)
{
    LayoutUnit root(nullptr);
    auto unit = root.AddChild("Boxes");
    unit->SetPosition({ 10, 20 });
    unit->SetStep({ 100, 0 });
    unit->SetQuarterTurns(1); // its own turn turns the step: (0, 100)
    EXPECT_EQ(unit->GetAbsolutePosition(3), (POINT { 10, 320 }));
    auto child = unit->AddChild("Inside");
    child->SetPosition({ 5, 0 }); // turned by the parent's turn: (0, 5)
    unit->SetCurrentItem(2);
    EXPECT_EQ(unit->GetAbsolutePosition(0), (POINT { 10, 220 }));
    EXPECT_EQ(child->GetAbsolutePosition(0), (POINT { 10, 225 }));
    unit->SetCurrentItem(0);
    EXPECT_EQ(child->GetAbsolutePosition(0), (POINT { 10, 25 }));
}

TEST(LayoutUnitGeometry, MoveByRefitsEveryAncestor)
{
    LayoutUnit root(nullptr);
    auto packs = root.AddChild("Packs");
    auto price = packs->AddChild("Price");
    price->SetSize({ 40, 10 });
    price->MoveBy({ 100, 20 });
    EXPECT_EQ(packs->GetItemSize(), (SIZE { 140, 30 }));
    // The root's box holds its own origin and the packs' box (packs at 0, 0, item 140 x 30).
    EXPECT_EQ(root.GetItemSize(), (SIZE { 140, 30 }));
}

struct AngleCase {
    int tenths;
    int turns;
};

TEST(LayoutUnitGeometry, SetAngleTable)
{
    const AngleCase cases[] = { { 0, 0 }, { 449, 0 }, { -450, 0 }, { 450, 1 }, { 1349, 1 }, { 1350, 2 },
        { 1800, 2 }, { 2249, 2 }, { 2250, 3 }, { 3599, 3 }, { 3600, 0 }, { 4050, 1 }, { -451, 3 },
        { -900, 3 }, { -1800, 3 }, { -3599, 3 }, { -3600, 0 } };
    for (const AngleCase& c : cases) {
        LayoutUnit unit(nullptr);
        unit.SetAngle(c.tenths);
        EXPECT_EQ(unit.GetQuarterTurns(), c.turns) << c.tenths;
    }
}

TEST(LayoutUnitGeometry, AnglesAddUpTheTreeModuloAFullTurn)
{
    const struct {
        int parentTurns, childTurns, childAngle, absoluteAngle, absoluteTurns;
    } cases[] = { { 0, 0, 0, 0, 0 }, { 1, 2, 1800, 2700, 3 }, { 3, 2, 1800, 900, 1 }, { 2, 3, 2700, 900, 1 },
        { 0, -1, 2700, 2700, 3 }, { 0, 4, 0, 0, 0 }, { -2, 7, 2700, 900, 1 } };
    for (const auto& c : cases) {
        LayoutUnit parent(nullptr);
        parent.SetQuarterTurns(c.parentTurns);
        auto child = parent.AddChild("Child");
        child->SetQuarterTurns(c.childTurns);
        EXPECT_EQ(child->GetAngle(), c.childAngle) << c.parentTurns << "," << c.childTurns;
        EXPECT_EQ(child->GetAbsoluteAngle(), c.absoluteAngle) << c.parentTurns << "," << c.childTurns;
        EXPECT_EQ(child->GetAbsoluteQuarterTurns(), c.absoluteTurns) << c.parentTurns << "," << c.childTurns;
    }
}

// A unit repeated at a step, whose item and extra sizes come from fitting its children: a child of
// item size `item` and a single-only child of size `single` (zero for none).
struct ExtentCase {
    uint32_t repeat;
    POINT step;
    SIZE item;
    SIZE single;
    SIZE extent;
};

TEST(LayoutUnitGeometry, RepeatExtentTable)
{
    const ExtentCase cases[] = {
        { 4, { 100, 0 }, { 90, 60 }, { 0, 0 }, { 390, 60 } },
        { 4, { -100, 0 }, { 90, 60 }, { 0, 0 }, { 390, 60 } },
        { 1, { 100, 0 }, { 90, 60 }, { 0, 0 }, { 90, 60 } },
        { 0, { 100, 0 }, { 90, 60 }, { 0, 0 }, { 90, 60 } },
        // First copy with the single-only child, the last without it.
        { 3, { 0, 62 }, { 800, 40 }, { 900, 50 }, { 900, 164 } },
        { 3, { 0, -62 }, { 800, 40 }, { 900, 50 }, { 900, 174 } },
        { 2, { 10, 10 }, { 50, 50 }, { 20, 70 }, { 60, 70 } },
    };
    for (const ExtentCase& c : cases) {
        LayoutUnit root(nullptr);
        auto unit = root.AddChild("Repeated");
        unit->SetPosition({ 1520, 200 });
        unit->SetRepeatCount(c.repeat);
        unit->SetStep(c.step);
        unit->AddChild("Item")->SetSize(c.item);
        if (c.single.cx != 0) {
            auto single = unit->AddChild("Single");
            single->SetSize(c.single);
            single->SetSingleOnly(true);
        }
        unit->FitToChildren();
        EXPECT_EQ(unit->GetRepeatExtent(), c.extent) << c.repeat << " step " << c.step.x << "," << c.step.y;
    }
}

TEST(LayoutUnitGeometry, BoundsTurnAroundTheAbsolutePosition)
{
    const struct {
        int turns;
        RECT bounds;
    } cases[] = { { 0, { 1000, 500, 1200, 600 } }, { 1, { 900, 500, 1000, 700 } },
        { 2, { 800, 400, 1000, 500 } }, { 3, { 1000, 300, 1100, 500 } }, { -1, { 1000, 300, 1100, 500 } },
        { 6, { 800, 400, 1000, 500 } } };
    for (const auto& c : cases) {
        LayoutUnit root(nullptr);
        root.SetQuarterTurns(c.turns);
        auto unit = root.AddChild("Unit");
        unit->SetAbsolutePosition({ 1000, 500 });
        unit->SetSize({ 200, 100 });
        EXPECT_EQ(unit->GetBounds(), c.bounds) << c.turns;
        EXPECT_EQ(unit->GetItemRect(0), c.bounds) << c.turns;
    }
}

TEST(LayoutUnitGeometry, BoundsCoverEveryCopy)
{
    LayoutUnit root(nullptr);
    auto unit = root.AddChild("Boxes");
    unit->SetPosition({ 1520, 200 });
    unit->SetRepeatCount(4);
    unit->SetStep({ 100, 0 });
    unit->AddChild("Box")->SetSize({ 90, 60 });
    unit->FitToChildren();
    EXPECT_EQ(unit->GetBounds(), (RECT { 1520, 200, 1910, 260 }));
    EXPECT_EQ(unit->GetItemRect(2), (RECT { 1720, 200, 1810, 260 }));
}

// Children of a root with no size of its own (its bounds are empty).
class HitTestTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        Add("Big", { 0, 0 }, { 100, 100 });
        Add("Small", { 50, 50 }, { 20, 20 });
        Add("BigTwin", { 0, 0 }, { 100, 100 });
        auto hidden = Add("Hidden", { 200, 200 }, { 100, 100 });
        hidden->SetVisible(false);
        hidden->AddChild("InsideHidden")->SetSize({ 10, 10 });
        auto frame = Add("Frame", { 400, 0 }, { 100, 100 });
        auto inner = frame->AddChild("Inner");
        inner->SetPosition({ 150, 0 }); // outside its parent's own box
        inner->SetSize({ 10, 10 });
    }

    std::shared_ptr<LayoutUnit> Add(const char* name, POINT at, SIZE size)
    {
        auto unit = root.AddChild(name);
        unit->SetPosition(at);
        unit->SetSize(size);
        return unit;
    }

    LayoutUnit root { nullptr };
};

TEST_F(HitTestTree, SmallestAreaWinsEarlierOnTiesHiddenNeverEdgesHalfOpen)
{
    const struct {
        POINT point;
        const char* expected; // nullptr: no unit
    } cases[] = {
        { { 60, 60 }, "Small" }, // inside Big, BigTwin and Small
        { { 10, 10 }, "Big" }, // Big and BigTwin have equal areas: the earlier wins
        { { 0, 0 }, "Big" }, // left and top edges are inside
        { { 99, 99 }, "Big" },
        { { 100, 50 }, nullptr }, // right edge is outside
        { { 50, 100 }, nullptr }, // bottom edge is outside
        { { 70, 70 }, "Big" }, // Small ends at 70
        { { 250, 250 }, nullptr }, // hidden unit
        { { 205, 205 }, nullptr }, // unit inside a hidden one
        { { 555, 5 }, "Inner" }, // a child outside its parent's box still wins
        { { 450, 50 }, "Frame" },
        { { -1, 0 }, nullptr },
    };
    for (const auto& c : cases) {
        LayoutUnit* hit = root.HitTest(c.point);
        if (!c.expected)
            EXPECT_EQ(hit, nullptr) << c.point.x << "," << c.point.y << " hit "
                                    << (hit ? hit->GetName() : "");
        else
            EXPECT_TRUE(hit && hit->GetName() == c.expected)
                << c.point.x << "," << c.point.y << " hit " << (hit ? hit->GetName() : "none");
    }
}

TEST_F(HitTestTree, HiddenRootIsForTheCallerToJudge)
{
    root.SetSize({ 1000, 1000 });
    root.SetVisible(false);
    EXPECT_EQ(root.HitTest({ 900, 900 }), &root);
}

TEST(LayoutUnitGeometry, FitToChildrenAlignmentTurnsAndSingleOnly)
{
    const struct {
        int32_t alignment;
        int32_t turns;
        bool single;
        SIZE item;
        SIZE extra;
    } cases[] = {
        // A child at (100, 50) of extent (40, 20); the box always holds the parent's origin.
        { 0, 0, false, { 140, 70 }, { 140, 70 } },
        { 1, 0, false, { 120, 80 }, { 120, 80 } }, // corner (80, 60) to (120, 80)
        { 2, 0, false, { 100, 70 }, { 100, 70 } }, // corner (60, 50) to (100, 70)
        { 0, 1, false, { 100, 90 }, { 100, 90 } }, // v = (-20, 40): (100, 50) to (80, 90)
        { 2, 1, false, { 100, 130 }, { 100, 130 } }, // w = (0, 40): corner (100, 90) to (80, 130)
        { 0, 0, true, { 140, 70 }, { 0, 0 } },
    };
    for (const auto& c : cases) {
        LayoutUnit parent(nullptr);
        auto child = parent.AddChild("Child");
        child->SetPosition({ 100, 50 });
        child->SetSize({ 40, 20 });
        child->SetAlignment(c.alignment);
        child->SetQuarterTurns(c.turns);
        child->SetSingleOnly(c.single);
        parent.FitToChildren();
        EXPECT_EQ(parent.GetItemSize(), c.item) << c.alignment << "/" << c.turns;
        EXPECT_EQ((SIZE { parent.GetExtraWidth(), parent.GetExtraHeight() }), c.extra)
            << c.alignment << "/" << c.turns;
    }
}

TEST(LayoutUnitGeometry, FitToChildrenIgnoresHiddenChildrenAndKeepsSizeWithoutChildren)
{
    LayoutUnit parent(nullptr);
    parent.SetSize({ 7, 9 });
    parent.FitToChildren();
    EXPECT_EQ(parent.GetItemSize(), (SIZE { 7, 9 }));
    auto hidden = parent.AddChild("Hidden");
    hidden->SetPosition({ 500, 500 });
    hidden->SetSize({ 10, 10 });
    hidden->SetVisible(false);
    parent.FitToChildren();
    EXPECT_EQ(parent.GetItemSize(), (SIZE { 0, 0 }));
}

TEST(LayoutUnitGeometry, GrowItemSizeOnlyGrows)
{
    LayoutUnit unit(nullptr);
    unit.SetSize({ 50, 10 });
    unit.GrowItemSize({ 30, 40 });
    EXPECT_EQ(unit.GetItemSize(), (SIZE { 50, 40 }));
    EXPECT_EQ(unit.GetWidth(), 50);
    EXPECT_EQ(unit.GetHeight(), 10);
}

// Coordinates wrap as 32-bit values (never undefined overflow). With M = INT32_MAX, M * M is 1
// modulo 2^32 and (2^32 - 2) * M is 2, which gives the expected values below.
TEST(LayoutUnitGeometry, HugeValuesWrapInsteadOfOverflowing)
{
    LayoutUnit root(nullptr);
    auto unit = root.AddChild("Huge");
    unit->SetPosition({ INT32_MAX, INT32_MIN });
    unit->SetStep({ INT32_MAX, INT32_MAX });
    unit->SetRepeatCount(UINT32_MAX);
    unit->SetQuarterTurns(INT32_MIN); // a whole number of turns: none
    unit->SetSize({ INT32_MAX, INT32_MAX });
    EXPECT_EQ(unit->GetAbsoluteQuarterTurns(), 0);
    EXPECT_EQ(unit->GetAngle(), 0);
    // The copy M lies at (M, MIN) + M * (M, M).
    EXPECT_EQ(unit->GetAbsolutePosition(INT32_MAX), (POINT { INT32_MIN, INT32_MIN + 1 }));
    // The last copy lies (2^32 - 2) * (M, M) from the first: an extent of (2, 2).
    EXPECT_EQ(unit->GetRepeatExtent(), (SIZE { 2, 2 }));
    EXPECT_EQ(unit->GetBounds(), (RECT { INT32_MAX, INT32_MIN, INT32_MIN + 1, INT32_MIN + 2 }));
    unit->MoveBy({ INT32_MAX, INT32_MIN });
    EXPECT_EQ(unit->GetPosition(), (POINT { -2, 0 }));
    // Moving fitted the root around the unit's box from (-2, 0) to (0, 2).
    EXPECT_EQ(root.GetItemSize(), (SIZE { 2, 2 }));
    root.FitToChildren();
    EXPECT_EQ(root.GetItemSize(), (SIZE { 2, 2 }));
    EXPECT_EQ(root.HitTest({ 0, 0 }), &root);
}

} // namespace
