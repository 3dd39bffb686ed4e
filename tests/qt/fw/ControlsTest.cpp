#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/DialogUnits.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/SampleDialog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cmath>

namespace fwtest {
namespace {

class Controls : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        host = std::make_unique<SampleHost>();
    }
    void TearDown() override
    {
        host.reset();
        FrameworkTest::TearDown();
    }

    fw::Control& Item(win::UINT id)
    {
        fw::Control* control = host->GetDlgItem(id);
        EXPECT_NE(control, nullptr) << id;
        return *control;
    }
    template <class Widget> Widget* WidgetOf(win::UINT id)
    {
        return qobject_cast<Widget*>(Item(id).GetWidget());
    }

    std::unique_ptr<SampleHost> host;
};

TEST_F(Controls, TheTemplateBuildsEachControlWithItsIdKindAndTextAtItsDialogUnitPlace)
{
    struct Case {
        win::UINT id;
        const char* widgetClass;
        std::string text;
    };
    const Case cases[] = {
        { ids::paperBox, "QGroupBox", "Paper" },
        { ids::width, "QLineEdit", "" },
        { ids::paper, "QComboBox", "" },
        { ids::show, "QCheckBox", "Show" },
        { ids::landscape, "QRadioButton", "Land" },
        { ids::extras, "QListWidget", "" },
        { ids::notes, "QPlainTextEdit", "" },
        { ids::colour, "QPushButton", "Colour" },
        { ids::swatch, "QFrame", "" },
        { win::IDOK, "QPushButton", "OK" },
    };
    for (const Case& c : cases) {
        fw::Control& control = Item(c.id);
        EXPECT_EQ(control.GetDlgCtrlID(), c.id);
        EXPECT_TRUE(control.GetWidget()->inherits(c.widgetClass)) << c.id;
        EXPECT_EQ(control.GetWindowText(), c.text) << c.id;
    }
    EXPECT_EQ(host->GetDlgItem(4242), nullptr);
    EXPECT_TRUE(WidgetOf<QComboBox>(ids::pack)->isEditable());
    EXPECT_FALSE(WidgetOf<QComboBox>(ids::paper)->isEditable());

    // Dialog units from the font's average character size: the edit at (40, 16, 36, 12).
    const fw::DialogBaseUnits base = host->GetPanel()->BaseUnits();
    const QFontMetrics metrics(host->GetPanel()->font());
    const QFontMetricsF exact(host->GetPanel()->font());
    EXPECT_EQ(base.cy, std::ceil(exact.ascent()) + std::ceil(exact.descent()));
    EXPECT_EQ(base.cx,
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2);
    EXPECT_EQ(Item(ids::width).GetWidget()->geometry(), fw::MapDialogRect(40, 16, 36, 12, base));
    EXPECT_EQ(fw::MapDialogRect(40, 16, 36, 12, { 7, 16 }), QRect(70, 32, 63, 24));
}

TEST_F(Controls, TheFontsAreThisMachinesForTheTemplatesFaces)
{
    EXPECT_EQ(QFontInfo(fw::DialogFont("Arial", 8)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(fw::DialogFont("MS Shell Dlg", 8)).family(), "DejaVu Sans");
}

TEST_F(Controls, EveryCaptionFitsItsControlInEitherFont)
{
    for (const std::string font : { "MS Shell Dlg", "Arial" }) {
        SCOPED_TRACE(font);
        SampleHost sample(font);
        for (const fw::ControlSpec& spec : SampleTemplate(font).controls) {
            if (spec.caption.empty())
                continue;
            QWidget* widget = nullptr;
            for (QObject* child : sample.GetPanel()->children())
                if (auto* w = qobject_cast<QWidget*>(child); w != nullptr
                    && w->geometry().topLeft()
                        == fw::MapDialogRect(spec.x, spec.y, spec.cx, spec.cy, sample.GetPanel()->BaseUnits())
                               .topLeft())
                    widget = w;
            ASSERT_NE(widget, nullptr) << spec.caption;
            if (auto* label = qobject_cast<QLabel*>(widget))
                EXPECT_LE(
                    label->fontMetrics()
                        .boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text())
                        .height(),
                    label->height())
                    << spec.caption;
            else if (auto* box = qobject_cast<QGroupBox*>(widget))
                EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 16, box->width())
                    << spec.caption;
            else if (qobject_cast<QPushButton*>(widget) != nullptr) // Qt's sizeHint has a minimum width
                EXPECT_LE(widget->fontMetrics().horizontalAdvance(widget->property("text").toString()) + 12,
                    widget->width())
                    << spec.caption;
            else
                EXPECT_LE(widget->sizeHint().width(), widget->width()) << spec.caption;
        }
    }
}

TEST_F(Controls, UserActionsNotifyAndCodeSettingValuesDoesNot)
{
    Activate(host->window);
    // Code first: nothing may reach the handlers.
    Item(ids::width).SetWindowText("12");
    Item(ids::notes).SetWindowText("a\r\nb");
    Item(ids::paper).AddString("A4");
    Item(ids::paper).AddString("A5");
    Item(ids::paper).SetCurSel(1);
    Item(ids::pack).AddString("x.csv");
    Item(ids::pack).SetWindowText("y.csv");
    Item(ids::pack).SetCurSel(0);
    Item(ids::extras).AddString("one");
    Item(ids::extras).AddString("two");
    Item(ids::extras).SetCurSel(1);
    Item(ids::show).SetCheck(1);
    Item(ids::landscape).SetCheck(1);
    host->exchange = [](fw::DataExchange& dx) {
        std::string text = "34";
        fw::DDX_Text(dx, ids::width, text);
        int index = 0;
        fw::DDX_CBIndex(dx, ids::paper, index);
    };
    EXPECT_TRUE(host->UpdateData(win::FALSE));
    EXPECT_EQ(host->log, std::vector<std::string> {});

    // The user's actions.
    QTest::keyClicks(WidgetOf<QLineEdit>(ids::width), "5");
    QTest::keyClick(WidgetOf<QComboBox>(ids::paper), Qt::Key_Down);
    Item(ids::pack).SetFocus();
    QTest::keyClicks(WidgetOf<QComboBox>(ids::pack)->lineEdit(), "z");
    Item(ids::show).SetFocus();
    QTest::mouseClick(WidgetOf<QAbstractButton>(ids::show), Qt::LeftButton);
    QTest::mouseClick(WidgetOf<QAbstractButton>(ids::colour), Qt::LeftButton);
    WidgetOf<QListWidget>(ids::extras)->setFocus();
    QTest::keyClick(WidgetOf<QListWidget>(ids::extras), Qt::Key_Up);
    QTest::keyClicks(WidgetOf<QPlainTextEdit>(ids::notes), "c");
    const std::vector<std::string> expected {
        "EN_CHANGE 1001",
        "CBN_SELCHANGE 1003",
        "CBN_EDITCHANGE 1004",
        "CBN_KILLFOCUS 1004", // the focus went on to the check box
        "BN_CLICKED 1005",
        "BN_CLICKED 1012",
        "LBN_SELCHANGE 1009",
        "EN_CHANGE 1010",
    };
    EXPECT_EQ(host->log, expected);
    EXPECT_EQ(Item(ids::paper).GetCurSel(), 1); // the list's end: Down kept it at A5
    EXPECT_EQ(Item(ids::extras).GetCurSel(), 0);
}

TEST_F(Controls, ARadioClickedByTheUserClearsTheOthersOfItsGroupOnly)
{
    Activate(host->window);
    Item(ids::portrait).SetCheck(1);
    Item(ids::square).SetCheck(1); // code changes one radio alone, as the original does
    Item(ids::mode).SetCheck(1);
    EXPECT_EQ(Item(ids::portrait).GetCheck(), 1);
    QTest::mouseClick(WidgetOf<QAbstractButton>(ids::landscape), Qt::LeftButton);
    QTest::mouseClick(WidgetOf<QAbstractButton>(ids::landscape), Qt::LeftButton); // stays ticked
    EXPECT_EQ(Item(ids::portrait).GetCheck(), 0);
    EXPECT_EQ(Item(ids::landscape).GetCheck(), 1);
    EXPECT_EQ(Item(ids::square).GetCheck(), 0);
    EXPECT_EQ(Item(ids::mode).GetCheck(), 1); // another group
    EXPECT_EQ(host->GetRadioGroup(ids::portrait),
        (std::vector<win::UINT> { ids::portrait, ids::landscape, ids::square }));
    EXPECT_EQ(host->GetRadioGroup(ids::mode), (std::vector<win::UINT> { ids::mode, ids::modeTwo }));
    EXPECT_EQ(host->GetRadioGroup(ids::width), std::vector<win::UINT> {});
}

TEST_F(Controls, ComboAndListOperations)
{
    for (const win::UINT id : { ids::paper, ids::pack, ids::extras }) {
        fw::Control& c = Item(id);
        EXPECT_EQ(c.AddString("a.csv"), 0);
        EXPECT_EQ(c.AddString("b.csv"), 1);
        EXPECT_EQ(c.InsertString(0, "B.CSV"), 0);
        EXPECT_EQ(c.InsertString(9, "x"), fw::CB_ERR);
        EXPECT_EQ(c.GetCount(), 3);
        EXPECT_EQ(c.FindStringExact(-1, "b.csv"), 0); // letter case ignored
        EXPECT_EQ(c.FindStringExact(0, "b.csv"), 2); // after item 0
        EXPECT_EQ(c.FindStringExact(2, "b.csv"), 0); // wrapping round
        EXPECT_EQ(c.FindStringExact(-1, "b"), fw::CB_ERR); // whole texts only
        EXPECT_EQ(c.FindString(-1, "A"), 1);
        EXPECT_EQ(c.GetLBText(1), "a.csv");
        std::string text;
        EXPECT_EQ(c.GetLBText(3, text), fw::CB_ERR);
        EXPECT_EQ(c.SetCurSel(2), 2);
        EXPECT_EQ(c.GetCurSel(), 2);
        EXPECT_EQ(c.SetCurSel(7), fw::CB_ERR);
        EXPECT_EQ(c.GetCurSel(), -1);
        EXPECT_EQ(c.DeleteString(0), 2);
        EXPECT_EQ(c.DeleteString(5), fw::CB_ERR);
        EXPECT_EQ(c.GetLBText(0), "a.csv");
        c.ResetContent();
        EXPECT_EQ(c.GetCount(), 0);
        EXPECT_EQ(c.GetWindowText(), "");
    }
    // A drop-down list's text is its selection; an editable one's is its edit.
    Item(ids::paper).AddString("A4");
    Item(ids::paper).SetWindowText("ignored");
    EXPECT_EQ(Item(ids::paper).GetWindowText(), "");
    Item(ids::paper).SetCurSel(0);
    EXPECT_EQ(Item(ids::paper).GetWindowText(), "A4");
    Item(ids::pack).SetWindowText("typed \xe9"); // code page 1252 both ways
    EXPECT_EQ(Item(ids::pack).GetWindowText(), "typed \xe9");
}

TEST_F(Controls, WindowStatesEditsAndSwatches)
{
    fw::Control& width = Item(ids::width);
    EXPECT_FALSE(width.EnableWindow(win::FALSE));
    EXPECT_FALSE(width.IsWindowEnabled());
    EXPECT_TRUE(width.EnableWindow(win::TRUE));
    EXPECT_TRUE(width.ShowWindow(win::SW_HIDE));
    EXPECT_FALSE(width.IsWindowVisible());
    width.ShowWindow(win::SW_SHOW);
    width.SetReadOnly();
    EXPECT_TRUE(width.IsReadOnly());
    width.LimitText(3);
    EXPECT_EQ(WidgetOf<QLineEdit>(ids::width)->maxLength(), 3);
    Item(ids::notes).SetWindowText("one\r\ntwo");
    EXPECT_EQ(WidgetOf<QPlainTextEdit>(ids::notes)->toPlainText(), "one\ntwo");
    EXPECT_EQ(Item(ids::notes).GetWindowText(), "one\r\ntwo");
    Item(ids::show).SetCheck(2);
    EXPECT_EQ(Item(ids::show).GetCheck(), 2);
    Item(ids::swatch).SetColor(win::RGB(1, 2, 3));
    EXPECT_EQ(Item(ids::swatch).GetColor(), win::RGB(1, 2, 3));
    Item(ids::paperBox).SetWindowText("Paper size");
    EXPECT_EQ(Item(ids::paperBox).GetWindowText(), "Paper size");
}

TEST_F(Controls, EnterInTheComboGoesToPreTranslateMessageAndNoFurther)
{
    Activate(host->window);
    Item(ids::pack).AddString("x.csv");
    Item(ids::pack).SetFocus();
    QTest::keyClicks(WidgetOf<QComboBox>(ids::pack)->lineEdit(), "new.csv");
    QTest::keyClick(WidgetOf<QComboBox>(ids::pack)->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(host->log.back(), "Enter in 1004");
    EXPECT_EQ(Item(ids::pack).GetCount(), 1); // the combo never saw the key
    Item(ids::name).SetFocus();
    QTest::keyClick(WidgetOf<QLineEdit>(ids::name), Qt::Key_Return);
    EXPECT_EQ(host->log.back(), "CBN_KILLFOCUS 1004");
}

TEST_F(Controls, AClosedWindowsControlsAreGone)
{
    fw::Control handle = Item(ids::width);
    host->window.hide();
    delete host->GetPanel();
    EXPECT_FALSE(handle.IsValid());
    handle.SetWindowText("nothing happens");
    EXPECT_EQ(handle.GetWindowText(), "");
    EXPECT_EQ(host->GetDlgItem(ids::width), nullptr);
    EXPECT_FALSE(host->UpdateData(win::FALSE));
}

} // namespace
} // namespace fwtest
