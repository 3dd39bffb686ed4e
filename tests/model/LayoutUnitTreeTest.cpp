#include "model/LayoutUnit.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using win::POINT;

// The child list is the unit's own: a child enters it only through AddChild or the tree's record
// operations, which set its parent.
template <typename Unit>
concept AddsChildrenWithoutParent = requires(Unit& unit, std::shared_ptr<Unit> child)
{
    unit.Add(child);
};
static_assert(!AddsChildrenWithoutParent<LayoutUnit>);

// Master > Port > (PImage, PPacks > PPrice)
struct SmallTree {
    std::shared_ptr<LayoutUnit> root = std::make_shared<LayoutUnit>(nullptr);
    std::shared_ptr<LayoutUnit> port, image, packs, price;

    SmallTree()
    {
        root->SetName("Master");
        port = root->AddChild("Port");
        port->SetPosition({ 50, 150 });
        image = port->AddChild("PImage");
        image->SetPosition({ 30, 30 });
        image->SetSize({ 630, 780 });
        packs = port->AddChild("PPacks");
        packs->SetRepeatCount(3);
        price = packs->AddChild("PPrice");
        price->SetPosition({ 850, 0 });
    }
};

TEST(LayoutUnitTree, AddChildSetsParentNameAndCaption)
{
    LayoutUnit root(nullptr);
    auto child = root.AddChild("Port");
    EXPECT_EQ(child->GetParent(), &root);
    EXPECT_EQ(child->GetCaption(), "Port");
    child->SetName("Other");
    EXPECT_EQ(child->GetCaption(), "Port"); // a caption that is set stays
    ASSERT_EQ(root.GetChildren().size(), 1u);
    EXPECT_EQ(root.GetChildren()[0], child);
}

TEST(LayoutUnitTree, FindPathAndCount)
{
    SmallTree tree;
    EXPECT_EQ(tree.root->FindByName("PPrice"), tree.price.get());
    EXPECT_EQ(tree.root->FindByName("pprice"), nullptr);
    EXPECT_EQ(tree.packs->FindByName("PImage"), nullptr);
    EXPECT_EQ(tree.root->FindByName("Master"), tree.root.get());
    EXPECT_EQ(tree.price->GetPath(), ".Master.Port.PPacks.PPrice");
    EXPECT_EQ(tree.root->GetPath(), ".Master");
    EXPECT_EQ(tree.root->FindByPath(".Master.Port.PImage"), tree.image.get());
    EXPECT_EQ(tree.root->FindByPath(".Port.PImage"), nullptr);
    EXPECT_EQ(tree.root->CountUnits(), 5);
    EXPECT_EQ(tree.price->CountUnits(), 1);
}

TEST(LayoutUnitTree, FirstUnitOfANameInTreeOrderWins)
{
    LayoutUnit root(nullptr);
    auto a = root.AddChild("A");
    auto deep = a->AddChild("Twin");
    auto shallow = root.AddChild("Twin");
    EXPECT_EQ(root.FindByName("Twin"), deep.get());
}

TEST(LayoutUnitTree, CopyFromMakesADeepCopyUnderTheSourcesParent)
{
    SmallTree tree;
    tree.port->SetQuarterTurns(1);
    tree.port->SetCurrentItem(2);
    LayoutUnit copy(nullptr);
    copy.AddChild("Stale");
    copy.CopyFrom(*tree.port);

    EXPECT_EQ(copy.GetParent(), tree.root.get());
    EXPECT_EQ(copy.GetName(), "Port");
    EXPECT_EQ(copy.GetPosition(), (POINT { 50, 150 }));
    EXPECT_EQ(copy.GetQuarterTurns(), 1);
    EXPECT_EQ(copy.GetCurrentItem(), 2);
    EXPECT_EQ(copy.CountUnits(), 4);
    ASSERT_EQ(copy.GetChildren().size(), 2u);
    for (const auto& child : copy.GetChildren())
        EXPECT_EQ(child->GetParent(), &copy);
    const LayoutUnit* price = copy.FindByName("PPrice");
    ASSERT_NE(price, nullptr);
    EXPECT_NE(price, tree.price.get());
    EXPECT_EQ(price->GetParent(), copy.FindByName("PPacks"));
    EXPECT_EQ(copy.FindByName("PImage")->GetItemSize(), (win::SIZE { 630, 780 }));
    EXPECT_EQ(copy.FindByName("PPacks")->GetRepeatCount(), 3u);
    // The source is untouched.
    EXPECT_EQ(tree.price->GetParent(), tree.packs.get());
    EXPECT_EQ(tree.port->CountUnits(), 4);
}

TEST(LayoutUnitTree, CopyFromItselfChangesNothing)
{
    SmallTree tree;
    tree.port->CopyFrom(*tree.port);
    EXPECT_EQ(tree.port->GetParent(), tree.root.get());
    EXPECT_EQ(tree.port->CountUnits(), 4);
    EXPECT_EQ(tree.port->FindByName("PPrice"), tree.price.get());
}

TEST(LayoutUnitTree, CopyFromAnAncestorCopiesItsTreeAsItWas)
{
    SmallTree tree;
    tree.price->CopyFrom(*tree.port);
    EXPECT_EQ(tree.price->GetName(), "Port");
    EXPECT_EQ(tree.price->GetParent(), tree.root.get());
    // The copy holds the ancestor's subtree as it was before the copy: PImage, PPacks > PPrice.
    EXPECT_EQ(tree.price->CountUnits(), 4);
    EXPECT_EQ(tree.price->FindByName("PPrice")->GetName(), "PPrice");
    EXPECT_EQ(tree.price->FindByName("PPrice")->CountUnits(), 1);
}

TEST(LayoutUnitTree, CopyFromADescendantKeepsThePlaceInTheTree)
{
    SmallTree tree;
    std::weak_ptr<LayoutUnit> packs = tree.packs;
    tree.packs.reset();
    tree.price.reset();
    tree.port->CopyFrom(*tree.port->FindByName("PPacks"));
    EXPECT_TRUE(packs.expired());
    EXPECT_EQ(tree.port->GetParent(), tree.root.get());
    EXPECT_EQ(tree.port->GetName(), "PPacks");
    EXPECT_EQ(tree.port->CountUnits(), 2);
    EXPECT_NE(tree.port->FindByName("PPrice"), nullptr);
}

} // namespace
