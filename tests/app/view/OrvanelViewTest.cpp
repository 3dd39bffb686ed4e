// The drawing view in the main window: selecting, dragging, nudging and zooming with events sent
// to the real widget.
#include "app/document/DocumentHints.h"
#include "app/frame/MainFrameFixture.h"
#include "app/view/MoveClamp.h"
#include "app/view/ZoomRules.h"
#include "model/Layout.h"
#include "model/LayoutUnit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include <cmath>
#include <limits>
#include <ostream>
#include <sstream>

namespace frametest {
namespace {

std::string Bytes(const Layout& layout)
{
    std::ostringstream out;
    layout.WriteCsv(out);
    return out.str();
}

// Layout units (tenths of a millimetre) per screen pixel at 96 dots per inch and the zoom.
double UnitsPerPixel(double zoom)
{
    return 254.0 / 96.0 / zoom;
}

using ViewTest = MainFrameTest;

TEST_F(ViewTest, ClickSelectsTheSmallestShownUnitUnderTheMouse)
{
    struct Case {
        const char* clicked;
        const char* hidden;
        const char* expected;
    };
    const Case cases[] = {
        { "PImage", nullptr, "PImage" }, // inside Port too: the smaller wins
        { "PBarcode", nullptr, "PBarcode" }, { "PImage", "PImage", "Port" }, // a hidden unit is skipped
    };
    for (const Case& c : cases) {
        for (const char* name : { "PImage", "PBarcode" })
            Unit(name).SetVisible(true);
        if (c.hidden != nullptr)
            Unit(c.hidden).SetVisible(false);
        view->repaint();
        Click(CentreOf(Unit(c.clicked)));
        ASSERT_NE(view->GetSelectedUnit(), nullptr) << c.clicked;
        EXPECT_EQ(view->GetSelectedUnit()->GetName(), c.expected) << c.clicked;
    }
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
}

struct DragCase {
    int zoomSteps; // from the fitted zoom: in (positive) or out (negative)
    int turns; // of the image's parent
    QPoint move; // pixels
    friend void PrintTo(const DragCase& c, std::ostream* os)
    {
        *os << "zoom steps " << c.zoomSteps << " turns " << c.turns << " move " << c.move.x() << ","
            << c.move.y();
    }
};

class ViewDrag : public MainFrameTest, public ::testing::WithParamInterface<DragCase> { };

TEST_P(ViewDrag, MovesTheUnitByTheDraggedDistanceWithOneUndoStep)
{
    const DragCase c = GetParam();
    // The proof in the middle of the page, so that it stays on the page whatever its turn.
    Unit("Port").SetAbsolutePosition({ 1050, 1485 });
    Unit("Port").SetAngle(c.turns * 900);
    Unit("Port").FitSubtree();
    view->ZoomToFit();
    for (int i = 0; i < std::abs(c.zoomSteps); ++i)
        c.zoomSteps > 0 ? view->ZoomIn() : view->ZoomOut();
    view->repaint();
    const double zoom = view->GetZoom();
    LayoutUnit& image = Unit("PImage");
    const win::RECT before = image.GetBounds();
    const QPoint from = CentreOf(image);
    ASSERT_TRUE(view->rect().contains(from) && view->rect().contains(from + c.move));
    hints->hints.clear();
    Drag(from, from + c.move);

    const win::RECT after = Unit("PImage").GetBounds();
    const double tolerance = UnitsPerPixel(zoom) + 1;
    EXPECT_NEAR(after.left - before.left, c.move.x() * UnitsPerPixel(zoom), tolerance);
    EXPECT_NEAR(after.top - before.top, c.move.y() * UnitsPerPixel(zoom), tolerance);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 1u);
    EXPECT_EQ(hints->hints, std::vector<win::LPARAM> { hint::everything });
    EXPECT_TRUE(document->IsModified());
    EXPECT_FALSE(view->IsDragging());

    document->OnEditUndo();
    const win::RECT undone = document->GetLayout().GetRootUnit()->FindByName("PImage")->GetBounds();
    EXPECT_EQ(undone.left, before.left);
    EXPECT_EQ(undone.top, before.top);
    EXPECT_EQ(view->GetSelectedUnit(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(ZoomsAndTurns, ViewDrag,
    // Each move goes away from the corner that the parent's turned anchor holds.
    ::testing::Values(DragCase { 0, 0, { 40, 30 } }, DragCase { 0, 1, { -40, 30 } },
        DragCase { 1, 0, { 25, 60 } }, DragCase { -2, 2, { -25, -60 } }, DragCase { -2, 3, { 30, -20 } }));

TEST_F(ViewTest, ADragStopsAtTheMargins)
{
    view->repaint();
    const win::RECT printable = document->GetLayout().GetPaper().GetPrintableRect();
    LayoutUnit& port = Unit("Port");
    const QPoint from = CentreOf(port);
    Drag(from, from + QPoint(-2000, -2000));
    const win::RECT after = Unit("Port").GetBounds();
    EXPECT_EQ(after.left, printable.left);
    EXPECT_EQ(after.top, printable.top);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 1u);
}

TEST_F(ViewTest, AClickWithoutMovementChangesNothing)
{
    // On a unit, and on an empty part of the page (which hits the root unit).
    const win::RECT printable = document->GetLayout().GetPaper().GetPrintableRect();
    for (const QPoint at :
        { CentreOf(Unit("PImage")), ClientOf({ printable.right - 5, printable.bottom - 5 }) }) {
        const std::string bytes = Bytes(document->GetLayout());
        hints->hints.clear();
        QTest::mousePress(view, Qt::LeftButton, {}, at);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
        EXPECT_EQ(Bytes(document->GetLayout()), bytes);
        EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
        EXPECT_FALSE(document->IsModified());
        EXPECT_TRUE(hints->hints.empty());
    }
}

TEST_F(ViewTest, LosingTheMouseInADragMovesNothing)
{
    const std::string bytes = Bytes(document->GetLayout());
    const QPoint from = CentreOf(Unit("PImage"));
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from + QPoint(40, 40));
    ASSERT_TRUE(view->IsDragging());
    const QImage during = view->grab().toImage();
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view, &lost);
    EXPECT_FALSE(view->IsDragging());
    // The drag frame was drawn over the page around the unit's new place, and is gone.
    const QImage after = view->grab().toImage();
    const win::RECT frame = view->LayoutToClient(Unit("PImage").GetBounds());
    int changed = 0;
    for (int x = std::min(frame.left, frame.right) + 40; x < std::max(frame.left, frame.right) + 40; ++x) {
        const int y = std::min(frame.top, frame.bottom) + 41;
        changed += during.pixel(x, y) != after.pixel(x, y);
    }
    EXPECT_GT(changed, std::abs(frame.right - frame.left) / 3);
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + QPoint(40, 40));
    EXPECT_EQ(Bytes(document->GetLayout()), bytes);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
}

// The drag frame shows over the dark and the light parts of the portrait sample alike: every
// other pixel of its 3-pixel border is inverted, the others show the picture.
TEST_F(ViewTest, TheDragFrameInvertsEveryOtherPixelOfItsBorder)
{
    const QPoint from = CentreOf(Unit("PImage"));
    const QPoint move(40, 40);
    QTest::mousePress(view, Qt::LeftButton, {}, from);
    QTest::mouseMove(view, from + move);
    ASSERT_TRUE(view->IsDragging());
    const QImage during = view->grab().toImage();
    during.save(QString::fromStdString(qttest::OutputPath("view-drag-frame.png").string()));
    // Where the view puts the frame: the unit's bounds moved by the drag in layout units.
    const win::POINT start = view->ClientToLayout({ from.x(), from.y() });
    const win::POINT end = view->ClientToLayout({ from.x() + move.x(), from.y() + move.y() });
    const win::RECT bounds = Unit("PImage").GetBounds();
    const auto box = [](const win::RECT& r) {
        return QRect(QPoint(std::min(r.left, r.right), std::min(r.top, r.bottom)),
            QPoint(std::max(r.left, r.right) - 1, std::max(r.top, r.bottom) - 1));
    };
    const QRect selection = box(view->LayoutToClient(bounds));
    const QRect frame = box(view->LayoutToClient({ bounds.left + end.x - start.x,
        bounds.top + end.y - start.y, bounds.right + end.x - start.x, bounds.bottom + end.y - start.y }));
    QFocusEvent lost(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view, &lost);
    const QImage after = view->grab().toImage(); // the page and the selection, without the drag
    const auto inBand = [](const QRect& box, int x, int y) {
        return box.contains(x, y) && !box.adjusted(3, 3, -3, -3).contains(x, y);
    };
    int dark = 0;
    int light = 0;
    for (int y = frame.top(); y <= frame.bottom(); ++y) {
        for (int x = frame.left(); x <= frame.right(); ++x) {
            // The selection's own band, a pixel either side, is left out: the drag frame takes
            // its place during the drag.
            const bool nearSelection = selection.adjusted(-1, -1, 1, 1).contains(x, y)
                && !selection.adjusted(4, 4, -4, -4).contains(x, y);
            if (!inBand(frame, x, y) || nearSelection)
                continue;
            const QRgb under = after.pixel(x, y);
            ASSERT_EQ(during.pixel(x, y), (x + y) % 2 == 1 ? under ^ 0x00FFFFFFu : under) << x << ", " << y;
            dark += qGray(under) < 64;
            light += qGray(under) > 192;
        }
    }
    EXPECT_GT(dark, 0) << "the frame crosses dark parts of the picture";
    EXPECT_GT(light, 0) << "and light ones";
    QTest::mouseRelease(view, Qt::LeftButton, {}, from + move);
}

// A unit pressed and held still shows its frame as it shows once released: the drag frame takes
// the place of the selection frame instead of inverting its pixels back.
TEST_F(ViewTest, AUnitHeldStillKeepsItsFrame)
{
    const QPoint at = CentreOf(Unit("PImage"));
    QTest::mousePress(view, Qt::LeftButton, {}, at);
    ASSERT_TRUE(view->IsDragging());
    const QImage held = view->grab().toImage();
    QTest::mouseRelease(view, Qt::LeftButton, {}, at);
    ASSERT_FALSE(view->IsDragging());
    EXPECT_EQ(held, view->grab().toImage());
}

TEST_F(ViewTest, ArrowKeysNudgeTheSelectionWithoutUndo)
{
    struct Case {
        Qt::Key key;
        win::POINT step;
    };
    const Case cases[] = { { Qt::Key_Left, { -1, 0 } }, { Qt::Key_Up, { 0, -1 } },
        { Qt::Key_Right, { 1, 0 } }, { Qt::Key_Down, { 0, 1 } } };
    Click(CentreOf(Unit("PImage")));
    ASSERT_NE(view->GetSelectedUnit(), nullptr);
    for (const Case& c : cases) {
        const win::RECT before = Unit("PImage").GetBounds();
        hints->hints.clear();
        QTest::keyClick(view, c.key);
        const win::RECT after = Unit("PImage").GetBounds();
        EXPECT_EQ(after.left - before.left, c.step.x) << c.key;
        EXPECT_EQ(after.top - before.top, c.step.y) << c.key;
        EXPECT_EQ(hints->hints, std::vector<win::LPARAM> { hint::unitNudged }) << c.key;
    }
    // A key held down: the repeat count moves it in one step.
    const win::RECT before = Unit("PImage").GetBounds();
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true, 5);
    QApplication::sendEvent(view, &held);
    EXPECT_EQ(Unit("PImage").GetBounds().left - before.left, -5);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
    EXPECT_TRUE(document->IsModified());
}

TEST_F(ViewTest, ZoomStepsAndLimits)
{
    view->Zoom100();
    for (int i = 0; i < 3; ++i)
        frame->SendCommand(ID_ZOOM_IN);
    EXPECT_NEAR(view->GetZoom(), 1.331, 1e-9);
    frame->SendCommand(ID_ZOOM_OUT);
    EXPECT_NEAR(view->GetZoom(), 1.1979, 1e-9);
    frame->SendCommand(ID_ZOOM_100);
    EXPECT_EQ(view->GetZoom(), 1.0);
    for (int i = 0; i < 200; ++i)
        view->ZoomIn();
    EXPECT_EQ(view->GetZoom(), kMaxZoom);
    EXPECT_GT(view->GetDeviceTotalSize().cx, 0);
    EXPECT_GT(view->GetDeviceTotalSize().cy, 0);
    for (int i = 0; i < 200; ++i)
        view->ZoomOut();
    EXPECT_EQ(view->GetZoom(), kMinZoom);
}

// At 100 % an A4 portrait page is larger than the window both ways: each handle shows the share
// of the page in view (a page step is the client's width or height), and the square between the
// two bars shows the window's colour, not the page beneath.
TEST_F(ViewTest, AtZoom100TheHandlesShowTheShareOfThePageInView)
{
    frame->resize(900, 700);
    frame->SendCommand(ID_ZOOM_100);
    RunUntilIdle();
    QScrollBar* across = nullptr;
    QScrollBar* down = nullptr;
    for (QScrollBar* bar : view->findChildren<QScrollBar*>())
        (bar->orientation() == Qt::Horizontal ? across : down) = bar;
    ASSERT_TRUE(across != nullptr && down != nullptr);
    ASSERT_TRUE(across->isVisible() && down->isVisible());
    win::RECT client {};
    view->GetClientRect(&client);
    const win::SIZE page = view->GetDeviceTotalSize();
    EXPECT_EQ(across->pageStep(), client.right);
    EXPECT_EQ(down->pageStep(), client.bottom);
    EXPECT_EQ(across->maximum() + across->pageStep(), page.cx);
    EXPECT_EQ(down->maximum() + down->pageStep(), page.cy);

    const QImage shot = view->grab().toImage();
    shot.save(QString::fromStdString(qttest::OutputPath("view-zoom100-bars.png").string()));
    const QRgb window = QApplication::palette().color(QPalette::Window).rgb();
    ASSERT_NE(window, qRgb(255, 255, 255));
    for (int y = client.bottom; y < view->height(); ++y)
        for (int x = client.right; x < view->width(); ++x)
            ASSERT_EQ(shot.pixel(x, y), window) << "corner " << x << ", " << y;
}

TEST(ZoomRules, FitTakesTheSmallerRatioAndSkipsAnEmptyArea)
{
    struct Case {
        win::SIZE client;
        win::SIZE paper;
        std::optional<double> zoom;
    };
    const Case cases[] = {
        { { 1500, 1500 }, { 2100, 2970 }, 1500.0 / 2970 }, // 0.505
        { { 1000, 1500 }, { 2100, 2970 }, 1000.0 / 2100 }, // 0.476
        { { 1000, 1500 }, { 2970, 2100 }, 1000.0 / 2970 }, // 0.3367
        { { 0, 1500 }, { 2100, 2970 }, std::nullopt },
        { { 1500, 0 }, { 2100, 2970 }, std::nullopt },
        { { 1500, 1500 }, { 0, 2970 }, std::nullopt },
        { { 1500, 1500 }, { 2100, 0 }, std::nullopt },
        { { 1, 1 }, { 2100, 2970 }, kMinZoom },
    };
    for (const Case& c : cases) {
        const auto zoom = FitZoom(c.client, c.paper);
        ASSERT_EQ(zoom.has_value(), c.zoom.has_value()) << c.client.cx << "x" << c.client.cy;
        if (zoom) {
            EXPECT_NEAR(*zoom, *c.zoom, 1e-12);
        }
    }
    EXPECT_NEAR(1500.0 / 2970, 0.505, 0.0005);
    EXPECT_NEAR(1000.0 / 2970, 0.3367, 0.00005);
}

TEST_F(ViewTest, FitShowsTheWholePageInTheWindow)
{
    view->Zoom100();
    frame->SendCommand(ID_FIT_TO_WINDOW);
    win::RECT client {};
    view->GetClientRect(&client);
    const win::SIZE page = view->GetDeviceTotalSize();
    EXPECT_LE(page.cx, client.right * 1.01);
    EXPECT_LE(page.cy, client.bottom * 1.01);
    EXPECT_TRUE(std::abs(page.cx - client.right) <= client.right * 0.01
        || std::abs(page.cy - client.bottom) <= client.bottom * 0.01)
        << page.cx << "x" << page.cy << " in " << client.right << "x" << client.bottom;
}

TEST_F(ViewTest, FitKeepsTheZoomForAPaperWithoutArea)
{
    view->ZoomIn();
    const double zoom = view->GetZoom();
    document->GetLayout().GetPaper().SetWidth(0);
    view->ZoomToFit();
    EXPECT_EQ(view->GetZoom(), zoom);
    view->resize(0, 0);
    document->GetLayout().GetPaper().SetWidth(2100);
    view->ZoomToFit();
    EXPECT_TRUE(std::isfinite(view->GetZoom()));
    EXPECT_GT(view->GetZoom(), 0.0);
}

TEST(MoveClamp, PutsEachEdgeThatWouldPassTheBoundsOnThem)
{
    struct Case {
        const char* what;
        win::RECT unit;
        win::POINT delta;
        win::POINT expected;
    };
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const win::RECT bounds { 30, 30, 2070, 2940 };
    const Case cases[] = {
        { "inside", { 100, 100, 200, 200 }, { 40, -50 }, { 40, -50 } },
        { "100 wide, left edge 20 from the bounds, 50 left", { 50, 100, 150, 200 }, { -50, 0 }, { -20, 0 } },
        { "top edge", { 100, 50, 200, 150 }, { 0, -40 }, { 0, -20 } },
        { "bottom edge", { 100, 2900, 200, 2930 }, { 0, 30 }, { 0, 10 } },
        { "right edge", { 1900, 100, 2000, 200 }, { 100, 0 }, { 70, 0 } },
        { "outside, moving further out", { 10, 100, 60, 200 }, { -5, 0 }, { 20, 0 } },
        { "outside, moving part way back", { 10, 100, 60, 200 }, { 15, 0 }, { 20, 0 } },
        { "outside, moving well inside", { 10, 100, 60, 200 }, { 100, 0 }, { 100, 0 } },
        { "outside, moving along the other axis", { 10, 100, 60, 200 }, { 0, 5 }, { 20, 5 } },
        { "outside above and left, no move asked", { 10, 0, 60, 20 }, { 0, 0 }, { 20, 30 } },
        { "taller than the bounds: bottom edge on them", { 100, 0, 200, 3000 }, { 0, -5 }, { 0, -60 } },
        { "wider than the bounds: right edge on them", { 0, 100, 3000, 200 }, { 40, 3 }, { -930, 3 } },
        { "the widest unit", { kMin, 100, kMax, 200 }, { 0, 0 }, { 2070 - kMax, 0 } },
        { "the farthest unit", { kMin, kMin, kMin + 10, kMin + 10 }, { 0, 0 }, { kMax, kMax } },
    };
    for (const Case& c : cases) {
        const win::POINT d = ClampMove(bounds, c.unit, c.delta);
        EXPECT_EQ(d.x, c.expected.x) << c.what;
        EXPECT_EQ(d.y, c.expected.y) << c.what;
    }
}

// Port put above and left of the printable area (a file can put it there): a click without
// movement leaves it there, a drag or a nudge brings it back onto the margins.
TEST_F(ViewTest, AUnitOutsideItsBoundsStaysOnAClickAndComesBackWithAMove)
{
    const win::RECT printable = document->GetLayout().GetPaper().GetPrintableRect();
    const win::POINT outside { printable.left - 20, printable.top - 20 };
    Unit("Port").SetPosition(outside);
    Unit("Port").FitSubtree();
    view->repaint();
    const QPoint corner = ClientOf({ outside.x + 5, outside.y + 5 });
    const std::string bytes = Bytes(document->GetLayout());
    hints->hints.clear();
    QTest::mousePress(view, Qt::LeftButton, {}, corner);
    QTest::mouseRelease(view, Qt::LeftButton, {}, corner);
    ASSERT_NE(view->GetSelectedUnit(), nullptr);
    EXPECT_EQ(view->GetSelectedUnit()->GetName(), "Port");
    EXPECT_EQ(Bytes(document->GetLayout()), bytes);
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(hints->hints.empty());

    // A drag of a pixel (less than the 20 units to the margins) puts the unit on the margins, as
    // one undo step.
    ASSERT_LT(UnitsPerPixel(view->GetZoom()), 20.0);
    Drag(corner, corner + QPoint(1, 1));
    EXPECT_EQ(Unit("Port").GetPosition(), (win::POINT { printable.left, printable.top }));
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 1u);
    document->OnEditUndo();
    EXPECT_EQ(Unit("Port").GetPosition(), outside);

    // So does a nudge along one axis, without an undo step.
    view->repaint();
    Click(corner);
    ASSERT_NE(view->GetSelectedUnit(), nullptr);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(Unit("Port").GetPosition(), (win::POINT { printable.left, printable.top }));
    EXPECT_EQ(GetUndoManager().GetUndoCount(), 0u);
}

} // namespace
} // namespace frametest
