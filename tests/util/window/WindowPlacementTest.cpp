#include "util/window/WindowPlacement.h"

#include "ScopedApplication.h"
#include "platform/win/AppContext.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class WindowPlacementTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        win::AppContext::Instance().Reset();
        win::AppContext::Instance().SetProfileStore(store);
    }
    void TearDown() override { win::AppContext::Instance().Reset(); }

    int Saved(const std::string& entry) const { return store->GetProfileInt("WndPos", entry, -999); }

    ScopedApplication application;
    std::shared_ptr<win::MemoryProfileStore> store = std::make_shared<win::MemoryProfileStore>();
};

TEST_F(WindowPlacementTest, SavesTheTenValuesAndRestoresThem)
{
    QWidget window;
    window.setGeometry(100, 120, 300, 200);
    window.show();
    SaveWindowPlacement(window, "Main");
    const std::pair<const char*, int> expected[] = { { "MainWpFlags", 0 }, { "MainWpShow", 1 },
        { "MainWpMinx", -1 }, { "MainWpMiny", -1 }, { "MainWpMaxx", -1 }, { "MainWpMaxy", -1 },
        { "MainWpNorL", 100 }, { "MainWpNorT", 120 }, { "MainWpNorR", 400 }, { "MainWpNorB", 320 } };
    for (const auto& [entry, value] : expected)
        EXPECT_EQ(Saved(entry), value) << entry;
    EXPECT_EQ(store->Writes().size(), 10u);

    QWidget other;
    other.setGeometry(10, 10, 50, 50);
    RestoreWindowPlacement(other, "Main");
    EXPECT_TRUE(other.isVisible());
    EXPECT_EQ(other.geometry(), QRect(100, 120, 300, 200));
    EXPECT_EQ(GetWindowPlacement(other), GetWindowPlacement(window));
}

TEST_F(WindowPlacementTest, KeepsTheMinimisedAndMaximisedPositionsAsRead)
{
    const std::pair<const char*, int> saved[]
        = { { "DlgWpMinx", 7 }, { "DlgWpMiny", -8 }, { "DlgWpMaxx", -4 }, { "DlgWpMaxy", 12 },
              { "DlgWpNorL", 20 }, { "DlgWpNorT", 30 }, { "DlgWpNorR", 220 }, { "DlgWpNorB", 130 } };
    for (const auto& [entry, value] : saved)
        store->WriteProfileInt("WndPos", entry, value);
    QWidget window;
    RestoreWindowPlacement(window, "Dlg");
    SaveWindowPlacement(window, "Again");
    for (const auto& [entry, value] : saved)
        EXPECT_EQ(Saved(std::string("Again") + (entry + 3)), value) << entry;
    EXPECT_EQ(Saved("AgainWpShow"), 1);
}

TEST_F(WindowPlacementTest, RestoresAMaximisedWindowWithItsNormalRectangle)
{
    QWidget window;
    window.setGeometry(40, 50, 200, 100);
    window.showMaximized();
    SaveWindowPlacement(window, "Max");
    EXPECT_EQ(Saved("MaxWpShow"), 3);
    EXPECT_EQ(Saved("MaxWpNorL"), 40);
    EXPECT_EQ(Saved("MaxWpNorB"), 150);

    QWidget other;
    RestoreWindowPlacement(other, "Max");
    EXPECT_TRUE(other.isMaximized());
    EXPECT_EQ(other.normalGeometry(), QRect(40, 50, 200, 100));
}

TEST_F(WindowPlacementTest, LeavesTheWindowWhereItIsWhenNothingWasSaved)
{
    QWidget window;
    window.setGeometry(60, 70, 160, 90);
    window.show();
    const WINDOWPLACEMENT before = GetWindowPlacement(window);
    RestoreWindowPlacement(window, "Never");
    EXPECT_EQ(GetWindowPlacement(window), before);
    EXPECT_EQ(window.geometry(), QRect(60, 70, 160, 90));
}

TEST_F(WindowPlacementTest, BringsASavedPlacementBeyondEveryScreenBack)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const std::pair<const char*, int> saved[] = { { "FarWpNorL", screen.right() + 5000 },
        { "FarWpNorT", screen.bottom() + 3000 }, { "FarWpNorR", screen.right() + 5300 },
        { "FarWpNorB", screen.bottom() + 3200 }, { "FarWpShow", 1 } };
    for (const auto& [entry, value] : saved)
        store->WriteProfileInt("WndPos", entry, value);
    QWidget window;
    RestoreWindowPlacement(window, "Far");
    EXPECT_TRUE(screen.contains(window.geometry())) << window.geometry().x() << "," << window.geometry().y();
    EXPECT_EQ(window.geometry().size(), QSize(300, 200));
    EXPECT_EQ(window.geometry().bottomRight(), screen.bottomRight());
}

TEST(BringOntoScreens, MovesOnlyARectangleOffEveryScreenIntoTheNearest)
{
    const std::vector<win::RECT> screens { { 0, 0, 1920, 1080 }, { 1920, 0, 3200, 1024 } };
    const struct {
        win::RECT rect;
        win::RECT expected;
    } cases[] = {
        { { 100, 100, 500, 400 }, { 100, 100, 500, 400 } }, // on the first screen
        { { 1800, 900, 2200, 1200 }, { 1800, 900, 2200, 1200 } }, // partly on both
        { { -900, 200, -500, 500 }, { 0, 200, 400, 500 } }, // left of the first
        { { 4000, 2000, 4400, 2300 }, { 2800, 724, 3200, 1024 } }, // beyond the second's corner
        { { 2000, -700, 2300, -600 }, { 2000, 0, 2300, 100 } }, // above the second
        { { -5000, 0, 0, 6000 }, { 0, 0, 1920, 1080 } }, // touching only, larger than the screen
    };
    for (const auto& c : cases)
        EXPECT_EQ(BringOntoScreens(c.rect, screens), c.expected) << c.rect.left << "," << c.rect.top;
    EXPECT_EQ(BringOntoScreens({ 9000, 9000, 9100, 9100 }, {}), (win::RECT { 9000, 9000, 9100, 9100 }));
}

} // namespace
