// Toolbars docked at the sides of a frame and beside each other.
#include "ApplicationFixture.h"

#include "platform/qt/fw/Docking.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/WinApp.h"
#include "util/window/ActiveFrame.h"
#include "util/window/DockingFunctions.h"

#include <QAction>
#include <QLayout>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

using DockingFunctions = ApplicationFixture;

// A bar with a few labelled buttons, owned by the frame once docked.
QToolBar* MakeBar(const QString& name)
{
    auto bar = std::make_unique<QToolBar>(name);
    for (int i = 0; i < 3; ++i)
        bar->addAction(name + QString::number(i));
    return bar.release();
}

TEST_F(DockingFunctions, DocksAtTheSidesAndBesideANeighbour)
{
    fw::FrameWnd frame;
    frame.resize(800, 400);
    QToolBar* const file = MakeBar("file");
    QToolBar* const zoom = MakeBar("zoom");
    QToolBar* const edit = MakeBar("edit");
    QToolBar* const tools = MakeBar("tools");
    DockToolBar(frame, *file, fw::AFX_IDW_DOCKBAR_TOP, nullptr, fw::CBRS_ALIGN_ANY);
    DockToolBar(frame, *zoom, fw::AFX_IDW_DOCKBAR_TOP, file, fw::CBRS_ALIGN_TOP | fw::CBRS_ALIGN_BOTTOM);
    // Beside the first bar, so between it and the zoom bar.
    DockToolBar(frame, *edit, fw::AFX_IDW_DOCKBAR_TOP, nullptr, fw::CBRS_ALIGN_ANY);
    DockControlBarLeftOf(*edit, *file, fw::AFX_IDW_DOCKBAR_TOP);
    DockToolBar(frame, *tools, fw::AFX_IDW_DOCKBAR_LEFT, nullptr, fw::CBRS_ALIGN_LEFT);
    frame.show();
    frame.layout()->activate();

    for (QToolBar* bar : { file, zoom, edit })
        EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea) << bar->windowTitle().toStdString();
    EXPECT_EQ(frame.toolBarArea(tools), Qt::LeftToolBarArea);
    EXPECT_EQ(edit->y(), file->y());
    EXPECT_EQ(zoom->y(), file->y());
    EXPECT_LT(file->x(), edit->x());
    EXPECT_LT(edit->x(), zoom->x());
    EXPECT_EQ(zoom->allowedAreas(), Qt::TopToolBarArea | Qt::BottomToolBarArea);
    EXPECT_EQ(tools->allowedAreas(), Qt::LeftToolBarArea);
    EXPECT_TRUE(frame.grab().save(QString::fromStdString(OutputPath("docked-toolbars.png"))));
}

using ActiveFrame = ApplicationFixture;

TEST_F(ActiveFrame, IsTheApplicationsMainFrame)
{
    win::RECT rect { 1, 2, 3, 4 };
    EXPECT_EQ(GetActiveFrameWindow(), nullptr);
    GetActiveFrameRect(rect);
    EXPECT_EQ(rect, win::RECT {});

    fw::WinApp app;
    fw::FrameWnd frame;
    frame.setGeometry(40, 50, 300, 200);
    app.SetMainWnd(&frame);
    EXPECT_EQ(GetActiveFrameWindow(), &frame);
    GetActiveFrameRect(rect);
    const QRect outer = frame.frameGeometry();
    EXPECT_EQ(rect, (win::RECT { outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1 }));
    app.SetMainWnd(nullptr);
}

} // namespace
