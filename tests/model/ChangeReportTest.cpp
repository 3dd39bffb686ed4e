// Change reports between two versions of the shipped pack template: the exact lines for changed
// types, prices, flags, descriptions and entries, packs deleted, added and moved, and the
// postage and late-fee packs left out on request.
#include "StudioTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

using namespace studio;

class ChangeReports : public StudioFixture {
protected:
    void SetUp() override
    {
        StudioFixture::SetUp();
        ReadShippedPacks(edited);
    }

    // Gives the pack of the edited collection other entries, keeping everything else.
    void ReplaceEntries(std::size_t index, std::initializer_list<PackProduct> entries)
    {
        PackDetails& pack = *edited.GetPack(index);
        PackDetails replacement;
        replacement.SetLongDescription(pack.GetLongDescription());
        replacement.SetShortDescription(pack.GetShortDescription());
        replacement.SetPrice(pack.GetPrice().GetAmount());
        replacement.SetNoPrintForm(pack.GetNoPrintForm());
        replacement.SetNoPrintWeb(pack.GetNoPrintWeb());
        for (const PackProduct& entry : entries)
            replacement.AddProduct(entry);
        pack.CopyFrom(replacement);
    }

    PacksCollection edited;
};

TEST_F(ChangeReports, EqualCollectionsAppendNothing)
{
    std::string text = "earlier\r\n";
    EXPECT_FALSE(packs.ReportChanges(edited, text, false));
    EXPECT_FALSE(packs.GetPack(packA)->ReportChanges(*edited.GetPack(packA), text, false));
    EXPECT_EQ(text, "earlier\r\n");
}

TEST_F(ChangeReports, ReportsEveryEditLineByLine)
{
    edited.SetMountType(2);
    edited.SetServiceType(1);
    edited.GetPack(packA)->SetPrice(2750);
    edited.GetPack(packA)->SetNoPrintWeb(true);
    ReplaceEntries(
        packB, { { print10x8, 2, false, false }, { print7x5, 2, true, false }, { wallets, 1, false, true } });
    ReplaceEntries(packC, { { mounted12x10, 1, false, true }, { print7x5, 2, false, false } });
    edited.GetPack(3)->SetLongDescription("Pack D: 12x10, 10x8 and 7x5 prints");
    edited.GetPack(3)->SetShortDescription("Pack D+");
    ReplaceEntries(keepsake, { { 23, 1, false, false }, { 24, 1, false, false } });
    ReplaceEntries(digital,
        { { hiResFile, 1, false, false }, { print10x8, 1, false, false }, { usbStick, 1, false, false } });
    edited.GetPack(postagePack)->SetPrice(450);
    edited.RemoveLastPack();

    const std::string head
        = "Event packs mount type changed from: 1 to: 2\r\n"
          "Event packs service changed from: Full Service to: Data Entry and Return\r\n"
          "Pack \"Pack A: two 7x5 prints and four wallets\" price changed from: 29.00 to: 27.50\r\n"
          "Pack \"Pack A: two 7x5 prints and four wallets\" No Display On Web changed from: No to: Yes\r\n"
          "Pack \"Pack B: 10x8, two 7x5, four wallets: 10x8\" Product Quantity changed from: 1 to: "
          "2\r\n"
          "Pack \"Pack B: 10x8, two 7x5, four wallets: 7x5\" changed from: Colour to: Mono\r\n"
          "Pack \"Pack B: 10x8, two 7x5, four wallets: Wallets\" changed from: No Mounts to: "
          "Mounts\r\n"
          "Pack \"Pack C: mounted 10x8, two 7x5: M10x8\" Product ID changed from: 14 to: "
          "15\r\n"
          "Pack long description changed from: Pack D: 12x10, 10x8 and two 7x5 prints to: Pack D: 12x10, "
          "10x8 and 7x5 prints\r\n"
          "Pack short description changed from: Pack D to: Pack D+\r\n"
          "Pack \"Keepsake: keyring, magnet, bookmark\" Product Bookmark deleted\r\n"
          "Pack \"Digital: full size file and a 10x8\" Product USB added\r\n";
    const std::string postageLine = "Pack \"Postage and Packing\" price changed from: 3.95 to: 4.50\r\n";
    const std::string tail = "Event pack deleted: Panoramic: 20x8 group print\r\n";

    std::string text;
    EXPECT_TRUE(packs.ReportChanges(edited, text, false));
    EXPECT_EQ(text, head + postageLine + tail);
    std::string skipping;
    EXPECT_TRUE(packs.ReportChanges(edited, skipping, true));
    EXPECT_EQ(skipping, head + tail);
    std::string postageOnly;
    EXPECT_FALSE(packs.GetPack(postagePack)->ReportChanges(*edited.GetPack(postagePack), postageOnly, true));
    EXPECT_EQ(postageOnly, "");
}

// A move is reported as the differences at each position; a pack added at the end is named,
// unless it is the late fee and the postage packs are skipped. A service type without a name is
// written as its number, never looked up beyond the three names.
TEST_F(ChangeReports, MovedAndAddedPacksAndAServiceTypeWithoutName)
{
    edited.SwapPacks(9, 10);
    edited.AddPostageAndLateFeePacks(-1, Money(), 0, Money(500));
    edited.SetServiceType(7);

    const std::string two = "Group 2: 12x8 group and a 7x5";
    const std::string three = "Group 3: mounted 12x8 print";
    const std::string lines = "Event packs service changed from: Full Service to: 7\r\n"
                              "Pack long description changed from: "
        + two + " to: " + three
        + "\r\n"
          "Pack short description changed from: Group 2 to: Group 3\r\n"
          "Pack \""
        + two
        + "\" price changed from: 21.00 to: 22.50\r\n"
          "Pack \""
        + two
        + ": G12x8\" Product ID changed from: 10 to: 16\r\n"
          "Pack \""
        + two
        + ": G12x8\" changed from: No Mounts to: Mounts\r\n"
          "Pack \""
        + two
        + "\" Product 7x5 deleted\r\n"
          "Pack long description changed from: "
        + three + " to: " + two
        + "\r\n"
          "Pack short description changed from: Group 3 to: Group 2\r\n"
          "Pack \""
        + three
        + "\" price changed from: 22.50 to: 21.00\r\n"
          "Pack \""
        + three
        + ": MG12x8\" Product ID changed from: 16 to: 10\r\n"
          "Pack \""
        + three
        + ": MG12x8\" changed from: Mounts to: No Mounts\r\n"
          "Pack \""
        + three + "\" Product 7x5 added\r\n";
    std::string text;
    EXPECT_TRUE(packs.ReportChanges(edited, text, false));
    EXPECT_EQ(text, lines + "Event pack added: Late Order Fee\r\n");
    std::string skipping;
    EXPECT_TRUE(packs.ReportChanges(edited, skipping, true));
    EXPECT_EQ(skipping, lines);

    std::string reverse;
    EXPECT_TRUE(edited.ReportChanges(packs, reverse, false));
    EXPECT_EQ(
        reverse.substr(0, reverse.find("\r\n")), "Event packs service changed from: 7 to: Full Service");
    EXPECT_NE(reverse.find("Event pack deleted: Late Order Fee\r\n"), std::string::npos);
}

} // namespace
