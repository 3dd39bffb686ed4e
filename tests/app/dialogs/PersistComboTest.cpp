#include "app/dialogs/PersistCombo.h"
#include "app/dialogs/DialogsFixture.h"
#include "app/dialogs/ProfileValues.h"
#include "platform/qt/fw/CmdTarget.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/DataExchange.h"
#include "qt/fw/DialogScript.h"
#include "records/SharedFunctions.h"

#include <QWidget>

#include <string>
#include <vector>

namespace dialogstest {
namespace {

constexpr win::UINT kComboId = 1032;

// One editable combo box in a plain window, with a history combo standing for it.
class ComboHost : public fw::CmdTarget, public fw::ControlHost {
public:
    ComboHost()
    {
        CreateControls(
            { 900, "History", 200, 40, { { kComboId, fw::ControlKind::dropDown, "", 7, 7, 186, 80 } } },
            *this, &window);
        UpdateData(win::FALSE);
    }
    void DoDataExchange(fw::DataExchange& dx) override
    {
        fw::DDX_Control(dx, kComboId, combo);
        DDX_CBStringExact(dx, kComboId, text);
    }
    std::vector<std::string> Items() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < combo.GetCount(); ++i)
            items.push_back(combo.GetLBText(i));
        return items;
    }

    QWidget window;
    PersistCombo combo { "PackCsv" };
    std::string text;
};

class PersistComboTest : public DialogsTest {
protected:
    static void Store(const std::vector<std::string>& paths, int first = 0)
    {
        for (std::size_t i = 0; i < paths.size(); ++i)
            GetTheApp().WriteProfileString("PersistentCombos",
                "PackCsv" + FormatZeroPadded(static_cast<unsigned>(first) + i, 2), paths[i]);
    }
    // The history as a fresh combo reads it back from the settings file.
    static std::vector<std::string> ReadBack()
    {
        ComboHost fresh;
        fresh.combo.Load();
        return fresh.Items();
    }
};

TEST_F(PersistComboTest, LoadReadsUpToTheFirstGapAndSelectsTheNewest)
{
    Store({ "/p/a.csv", "/p/b.csv" });
    Store({ "/p/d.csv" }, 3); // 02 is missing
    ComboHost host;
    host.combo.Load();
    EXPECT_EQ(host.Items(), (std::vector<std::string> { "/p/a.csv", "/p/b.csv" }));
    EXPECT_EQ(host.combo.GetCurSel(), 0);
    EXPECT_EQ(host.combo.GetWindowText(), "/p/a.csv");

    ComboHost empty;
    GetTheApp().WriteProfileString("PersistentCombos", "PackCsv00", "");
    empty.combo.Load();
    EXPECT_EQ(empty.combo.GetCount(), 0);
}

TEST_F(PersistComboTest, AddingMovesAnExactMatchToTheFrontAndKeepsPathsThatDifferInCase)
{
    struct Case {
        const char* added;
        std::vector<std::string> expected;
    };
    for (const Case& c : {
             Case { "/p/b.csv", { "/p/b.csv", "/p/a.csv", "/p/c.csv" } },
             Case { "/p/B.CSV", { "/p/B.CSV", "/p/a.csv", "/p/b.csv", "/p/c.csv" } },
             Case { "/p/b.csv.old", { "/p/b.csv.old", "/p/a.csv", "/p/b.csv", "/p/c.csv" } },
             Case { "/p/new.csv", { "/p/new.csv", "/p/a.csv", "/p/b.csv", "/p/c.csv" } },
             Case { "", { "/p/a.csv", "/p/b.csv", "/p/c.csv" } },
         }) {
        GetTheApp().Profile().WriteProfileString("PersistentCombos", "PackCsv03", ""); // from the case before
        Store({ "/p/a.csv", "/p/b.csv", "/p/c.csv" });
        ComboHost host;
        host.combo.Load();
        host.combo.AddToHistory(c.added, 10);
        EXPECT_EQ(host.Items(), c.expected) << c.added;
        EXPECT_EQ(host.combo.GetCurSel(), 0) << c.added;
        EXPECT_EQ(ReadBack(), c.expected) << c.added;
    }
}

TEST_F(PersistComboTest, AFullHistoryDropsItsOldestEntry)
{
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back("/packs/" + std::to_string(i) + ".csv");
    Store(ten);
    ComboHost host;
    host.combo.Load();
    host.combo.AddToHistory("/packs/new.csv", 10);

    std::vector<std::string> expected { "/packs/new.csv" };
    expected.insert(expected.end(), ten.begin(), ten.end() - 1);
    EXPECT_EQ(host.Items(), expected);
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv00"), "/packs/new.csv");
    EXPECT_EQ(Stored("PersistentCombos", "PackCsv09"), "/packs/8.csv");
    EXPECT_EQ(ReadBack(), expected);

    // A shorter cap leaves the entries stored beyond it, which a later load reads back.
    host.combo.AddToHistory("/packs/5.csv", 3);
    EXPECT_EQ(host.Items(), (std::vector<std::string> { "/packs/5.csv", "/packs/new.csv", "/packs/0.csv" }));
    EXPECT_EQ(ReadBack().size(), 10u);
}

TEST_F(PersistComboTest, TheTextSelectsOnlyTheItemEqualToItInEveryByte)
{
    Store({ "/p/a.csv.old", "/p/A.csv", "/p/a.csv" });
    struct Case {
        const char* text;
        int selected;
    };
    for (const Case& c : {
             Case { "/p/a.csv", 2 },
             Case { "/p/A.csv", 1 },
             Case { "/p/a.csv.old", 0 },
             Case { "/p/a", -1 },
             Case { "", -1 },
         }) {
        ComboHost host;
        host.combo.Load();
        host.text = c.text;
        host.UpdateData(win::FALSE);
        EXPECT_EQ(host.combo.GetCurSel(), c.selected) << c.text;
        EXPECT_EQ(host.combo.GetWindowText(), c.text);
        host.text = "changed";
        host.UpdateData(win::TRUE);
        EXPECT_EQ(host.text, c.text);
    }
}

TEST_F(PersistComboTest, WhatTheUserTypesStaysAsTyped)
{
    Store({ "/p/a.csv.old", "/p/Packs.csv" });
    for (const char* typed : { "/p/a.csv", "/p/packs.csv", "/p/A" }) {
        ComboHost host;
        host.combo.Load();
        Activate(host.window);
        qttest::TypeInto(host, kComboId, typed);
        EXPECT_EQ(host.combo.GetWindowText(), typed);
        host.UpdateData(win::TRUE);
        EXPECT_EQ(host.text, typed);
    }
}

} // namespace
} // namespace dialogstest
