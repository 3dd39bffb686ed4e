// A frame's toolbar made in one call from a strip of button pictures.
#include "ApplicationFixture.h"

#include "platform/qt/fw/FrameWnd.h"
#include "util/window/ToolBarFunctions.h"

#include <QAction>

#include <gtest/gtest.h>

namespace {

using ToolBarFunctions = ApplicationFixture;

constexpr fw::ToolBarButton kButtons[] = {
    { 0xE100, "Create a new layout\nNew" },
    { fw::ID_SEPARATOR, "" },
    { 0xE101, "Open a layout\nOpen" },
};

TEST_F(ToolBarFunctions, CreatesTheBarWithItsButtons)
{
    fw::FrameWnd frame;
    fw::ToolBar shown;
    fw::ToolBar hidden;
    ASSERT_TRUE(CreateToolBar(&frame, shown, 0xE800, ":/fw/MainToolBar.png", kButtons, WS_VISIBLE, 0));
    ASSERT_TRUE(CreateToolBar(&frame, hidden, 0xE801, ":/fw/MainToolBar.png", kButtons, 0, 0));
    frame.show();
    EXPECT_EQ(frame.toolBarArea(&shown), Qt::TopToolBarArea);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_FALSE(hidden.isVisible());
    ASSERT_NE(shown.GetButtonAction(0xE101), nullptr);
    EXPECT_EQ(shown.GetButtonAction(0xE101)->toolTip(), "Open");
    EXPECT_EQ(shown.actions().size(), 3);
}

TEST_F(ToolBarFunctions, FailsWithoutAFrameOrAStrip)
{
    fw::FrameWnd frame;
    fw::ToolBar bar;
    fw::ToolBar noStrip;
    EXPECT_FALSE(CreateToolBar(nullptr, bar, 0xE800, ":/fw/MainToolBar.png", kButtons, WS_VISIBLE, 0));
    // No strip of the id's own name is compiled in.
    EXPECT_EQ(ToolBarResourceName(0xE802), ":/toolbars/59394.png");
    EXPECT_FALSE(CreateToolBar(&frame, noStrip, 0xE802, "", kButtons, WS_VISIBLE, 0));
}

} // namespace
