// A splitter pane's view replaced by a view of another class, and the scrolling width of a list
// box.
#include "ApplicationFixture.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/Document.h"
#include "platform/qt/fw/FrameWnd.h"
#include "platform/qt/fw/ListBoxExtent.h"
#include "platform/qt/fw/SplitterWnd.h"
#include "platform/qt/fw/View.h"
#include "util/window/ListBoxFunctions.h"
#include "util/window/SplitterFunctions.h"

#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

// A view that counts its initial updates and shows its name.
class CountingView : public fw::View {
public:
    explicit CountingView(std::string name)
        : name_(std::move(name))
    {
    }
    void OnInitialUpdate() override { ++initialUpdates; }
    void OnDraw(gdi::DeviceContext& dc) override { dc.TextOut(10, 10, name_); }
    int initialUpdates = 0;

private:
    std::string name_;
};
class DrawingView : public CountingView {
public:
    DrawingView()
        : CountingView("drawing view")
    {
    }
};
class FormView : public CountingView {
public:
    FormView()
        : CountingView("form view")
    {
    }
};
class PreviewView : public CountingView {
public:
    PreviewView()
        : CountingView("preview view")
    {
    }
};

using SplitterFunctions = ApplicationFixture;

class SplitterFrame : public fw::FrameWnd {
public:
    SplitterFrame()
    {
        resize(600, 300);
        splitter.CreateStatic(this, 1, 2);
        fw::CreateContext context { &document, {}, nullptr };
        splitter.CreateView(0, 0, ViewClassOf<DrawingView>().create, { 400, 300 }, context);
        splitter.CreateView(0, 1, ViewClassOf<FormView>().create, { 200, 300 }, context);
        splitter.SetColumnInfo(0, 400, 50);
        show();
        splitter.RecalcLayout();
    }
    fw::Document document;
    fw::SplitterWnd& splitter = *new fw::SplitterWnd; // owned by the frame once created
};

TEST_F(SplitterFunctions, ReplacesAPaneInPlaceForTheSameDocument)
{
    SplitterFrame frame;
    fw::View* const form = frame.splitter.GetPane(0, 1);
    frame.SetActiveView(form);
    const QRect place = form->geometry();

    fw::View* const preview = ReplaceSplitterView(frame.splitter, 0, 1, ViewClassOf<PreviewView>());
    ASSERT_NE(dynamic_cast<PreviewView*>(preview), nullptr);
    EXPECT_EQ(frame.splitter.GetPane(0, 1), preview);
    EXPECT_EQ(preview->GetDocument(), &frame.document);
    EXPECT_EQ(frame.document.GetViews().size(), 2u);
    EXPECT_EQ(frame.GetActiveView(), preview);
    EXPECT_EQ(preview->geometry(), place);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(static_cast<CountingView*>(preview)->initialUpdates, 1);

    // Already of the class: the same view; a pane out of range: none.
    EXPECT_EQ(ReplaceSplitterView(frame.splitter, 0, 1, ViewClassOf<PreviewView>()), preview);
    EXPECT_EQ(ReplaceSplitterView(frame.splitter, 0, 2, ViewClassOf<PreviewView>()), nullptr);
    // The inactive pane stays inactive when replaced.
    fw::View* const drawing = ReplaceSplitterView(frame.splitter, 0, 0, ViewClassOf<FormView>());
    ASSERT_NE(dynamic_cast<FormView*>(drawing), nullptr);
    EXPECT_EQ(frame.GetActiveView(), preview);
    EXPECT_LT(drawing->geometry().right(), preview->geometry().left());
    EXPECT_TRUE(frame.grab().save(QString::fromStdString(OutputPath("splitter-replaced-pane.png"))));
}

TEST_F(SplitterFunctions, ListBoxScrollsAcrossItsWidestItem)
{
    QListWidget list;
    list.resize(120, 100);
    const QString longest = "Mount 8 x 10 with a cream bevel and gold lettering";
    list.addItems({ "Proof", longest, "Wallet prints" });
    list.show();
    fw::Control control(&list, fw::ControlKind::listBox, 1001);
    SetListBoxHorizontalExtent(control);
    const int widest = QFontMetrics(list.font()).horizontalAdvance(longest);
    EXPECT_EQ(fw::GetHorizontalExtent(list), widest + 5);
    EXPECT_GE(list.horizontalScrollBar()->maximum(), widest + 5 - list.viewport()->width());

    // Anything but a list box is left alone.
    QListWidget other;
    other.addItem(longest);
    fw::Control edit(&other, fw::ControlKind::edit, 1002);
    SetListBoxHorizontalExtent(edit);
    EXPECT_EQ(fw::GetHorizontalExtent(other), 0);
}

} // namespace
