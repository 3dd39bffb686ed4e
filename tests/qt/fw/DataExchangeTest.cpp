#include "platform/qt/fw/DataExchange.h"
#include "qt/fw/FrameworkFixture.h"
#include "qt/fw/SampleDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include <optional>
#include <variant>

namespace fwtest {
namespace {

class Exchange : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        host = std::make_unique<SampleHost>();
        Activate(host->window);
    }
    void TearDown() override
    {
        host.reset();
        FrameworkTest::TearDown();
    }

    fw::Control& Item(win::UINT id) { return *host->GetDlgItem(id); }

    // Puts the text into the edit and takes it with the exchange; the message shown, if any.
    std::optional<std::string> Take(
        win::UINT id, const std::string& text, std::function<void(fw::DataExchange&)> exchange)
    {
        Item(id).SetWindowText(text);
        Item(win::IDOK).SetFocus();
        host->exchange = std::move(exchange);
        const std::size_t shown = modal->Messages().size();
        const bool taken = host->UpdateData(win::TRUE) != win::FALSE;
        if (taken) {
            EXPECT_EQ(modal->Messages().size(), shown);
            return std::nullopt;
        }
        EXPECT_EQ(modal->Messages().size(), shown + 1);
        modal->ClearUnexpected(); // nothing was scripted: the message was dismissed with OK
        const auto& message = modal->Messages().back();
        EXPECT_EQ(message.flags, win::MB_OK | win::MB_ICONEXCLAMATION);
        // The focus is on the failing control, its text selected.
        const fw::Control* focus = host->GetFocus();
        EXPECT_EQ(focus != nullptr ? focus->GetDlgCtrlID() : 0u, id);
        auto* edit = qobject_cast<QLineEdit*>(Item(id).GetWidget());
        EXPECT_EQ(edit->selectedText(), edit->text());
        return message.text;
    }

    std::unique_ptr<SampleHost> host;
};

using Number = std::variant<int, win::UINT, double>;

struct NumberCase {
    std::string text;
    Number value; // the type says which DDX_Text; the value is what it takes
    std::string message; // empty when the text is taken
};

TEST_F(Exchange, NumbersAreTakenFromEditsOrFailWithTheirMessage)
{
    const std::string uintMessage = "Enter a positive integer.";
    const std::string intMessage = "Enter an integer.";
    const std::string realMessage = "Enter a number.";
    const NumberCase cases[] = {
        { "42", win::UINT { 42 }, "" },
        { "  7 ", win::UINT { 7 }, "" },
        { "+5", win::UINT { 5 }, "" },
        { "4294967295", win::UINT { 4294967295u }, "" },
        { "3000000000", win::UINT { 3000000000u }, "" },
        { "", win::UINT {}, uintMessage },
        { "-1", win::UINT {}, uintMessage },
        { "-0", win::UINT {}, uintMessage },
        { "4294967296", win::UINT {}, uintMessage }, // never wraps to 0
        { "99999999999999999999999", win::UINT {}, uintMessage },
        { "12a", win::UINT {}, uintMessage },
        { "1.5", win::UINT {}, uintMessage },
        { "1 2", win::UINT {}, uintMessage },
        { "-42", -42, "" },
        { "2147483647", 2147483647, "" },
        { "-2147483648", -2147483647 - 1, "" },
        { "2147483648", 0, intMessage },
        { "3000000000", 0, intMessage }, // never wraps into a negative number
        { "", 0, intMessage },
        { "-", 0, intMessage },
        { "0x10", 0, intMessage },
        { "2.5", 2.5, "" },
        { " -1e3 ", -1000.0, "" },
        { "+.5", 0.5, "" },
        { "1e400", 0.0, realMessage },
        { "nan", 0.0, realMessage },
        { "abc", 0.0, realMessage },
        { "", 0.0, realMessage },
        { "2,5", 0.0, realMessage },
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE("\"" + c.text + "\"");
        std::visit(
            [&](auto expected) {
                using T = decltype(expected);
                T value = T(77); // a failure leaves it as it was
                const auto shown = Take(
                    ids::width, c.text, [&](fw::DataExchange& dx) { fw::DDX_Text(dx, ids::width, value); });
                EXPECT_EQ(shown.value_or(""), c.message);
                EXPECT_EQ(value, c.message.empty() ? expected : T(77));
            },
            c.value);
    }
}

TEST_F(Exchange, NumbersAreShownInTheirPlainForm)
{
    struct Case {
        Number value;
        std::string text;
    };
    const Case cases[] = {
        { -5, "-5" },
        { -2147483647 - 1, "-2147483648" },
        { win::UINT { 4294967295u }, "4294967295" },
        { 0.1, "0.1" },
        { 2.5, "2.5" },
        { 1e20, "1e+20" },
        { 1.0 / 3.0, "0.333333333333333" },
    };
    for (const Case& c : cases)
        std::visit(
            [&](auto value) {
                host->exchange = [&](fw::DataExchange& dx) { fw::DDX_Text(dx, ids::width, value); };
                EXPECT_TRUE(host->UpdateData(win::FALSE));
                EXPECT_EQ(Item(ids::width).GetWindowText(), c.text);
            },
            c.value);
}

TEST_F(Exchange, AFailureStopsTheExchangeWhereItIs)
{
    win::UINT width = 1;
    int offset = 2;
    std::string name = "before";
    Item(ids::width).SetWindowText("300");
    Item(ids::offset).SetWindowText("x");
    Item(ids::name).SetWindowText("after");
    host->exchange = [&](fw::DataExchange& dx) {
        fw::DDX_Text(dx, ids::width, width);
        fw::DDX_Text(dx, ids::offset, offset);
        fw::DDX_Text(dx, ids::name, name);
    };
    modal->AnswerNext(win::IDOK);
    EXPECT_FALSE(host->UpdateData(win::TRUE));
    EXPECT_EQ(width, 300u); // taken before the failure
    EXPECT_EQ(offset, 2);
    EXPECT_EQ(name, "before"); // not reached
    EXPECT_EQ(host->GetFocus()->GetDlgCtrlID(), ids::offset);
}

TEST_F(Exchange, RangeAndLengthChecksFailWithTheirMessagesOnTheLastControl)
{
    struct Case {
        std::string text;
        std::function<void(fw::DataExchange&, const std::string&)> exchange;
        std::string message;
    };
    const auto unsignedRange = [](fw::DataExchange& dx, const std::string&) {
        win::UINT slot = 0;
        fw::DDX_Text(dx, ids::width, slot);
        fw::DDV_MinMaxUInt(dx, slot, 1, 8);
    };
    const auto signedRange = [](fw::DataExchange& dx, const std::string&) {
        int angle = 0;
        fw::DDX_Text(dx, ids::width, angle);
        fw::DDV_MinMaxInt(dx, angle, -5, 5);
    };
    const auto length = [](fw::DataExchange& dx, const std::string&) {
        std::string word;
        fw::DDX_Text(dx, ids::width, word);
        fw::DDV_MaxChars(dx, word, 3);
    };
    const Case cases[] = {
        { "1", unsignedRange, "" },
        { "8", unsignedRange, "" },
        { "9", unsignedRange, "Enter an integer between 1 and 8." },
        { "0", unsignedRange, "Enter an integer between 1 and 8." },
        { "-1", unsignedRange, "Enter a positive integer." }, // the number fails before its range
        { "-5", signedRange, "" },
        { "6", signedRange, "Enter an integer between -5 and 5." },
        { "-6", signedRange, "Enter an integer between -5 and 5." },
        { "abc", length, "" },
        { "abcd", length, "Enter no more than 3 characters." },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto shown = Take(ids::width, c.text, [&](fw::DataExchange& dx) { c.exchange(dx, c.text); });
        EXPECT_EQ(shown.value_or(""), c.message);
    }
    // Putting values checks nothing; the length check limits the edit.
    host->exchange = [](fw::DataExchange& dx) {
        std::string word = "abcdef";
        fw::DDX_Text(dx, ids::name, word);
        fw::DDV_MaxChars(dx, word, 4);
        win::UINT slot = 99;
        fw::DDX_Text(dx, ids::width, slot);
        fw::DDV_MinMaxUInt(dx, slot, 1, 8);
    };
    EXPECT_TRUE(host->UpdateData(win::FALSE));
    EXPECT_EQ(Item(ids::width).GetWindowText(), "99");
    // The longer text is kept whole, and the user cannot lengthen it.
    auto* name = qobject_cast<QLineEdit*>(Item(ids::name).GetWidget());
    EXPECT_EQ(Item(ids::name).GetWindowText(), "abcdef");
    name->setFocus();
    name->end(false);
    QTest::keyClicks(name, "g");
    EXPECT_EQ(Item(ids::name).GetWindowText(), "abcdef");
    QTest::keyClick(name, Qt::Key_Backspace);
    EXPECT_EQ(Item(ids::name).GetWindowText(), "abcde");
    // A short text gets the limit itself.
    Item(ids::name).SetWindowText("ab");
    Item(ids::name).LimitText(4);
    QTest::keyClicks(name, "cdef");
    EXPECT_EQ(Item(ids::name).GetWindowText(), "abcd");
}

TEST_F(Exchange, ChecksRadiosAndComboIndexesBothWays)
{
    Item(ids::paper).AddString("A4");
    Item(ids::paper).AddString("A5");
    struct Case {
        int put;
        int taken;
        std::vector<int> checks; // portrait, landscape, square after putting
    };
    const Case radios[] = {
        { 0, 0, { 1, 0, 0 } },
        { 2, 2, { 0, 0, 1 } },
        { -1, -1, { 0, 0, 0 } },
    };
    for (const Case& c : radios) {
        int value = c.put;
        host->exchange = [&](fw::DataExchange& dx) { fw::DDX_Radio(dx, ids::portrait, value); };
        EXPECT_TRUE(host->UpdateData(win::FALSE));
        EXPECT_EQ((std::vector<int> { Item(ids::portrait).GetCheck(), Item(ids::landscape).GetCheck(),
                      Item(ids::square).GetCheck() }),
            c.checks);
        value = 42;
        EXPECT_TRUE(host->UpdateData(win::TRUE));
        EXPECT_EQ(value, c.taken);
    }
    for (const int put : { 1, 0, 2, 1 }) { // 0 unticked, 1 ticked, 2 indeterminate
        int value = put;
        host->exchange = [&](fw::DataExchange& dx) { fw::DDX_Check(dx, ids::show, value); };
        EXPECT_TRUE(host->UpdateData(win::FALSE));
        value = 42;
        EXPECT_TRUE(host->UpdateData(win::TRUE));
        EXPECT_EQ(value, put);
    }
    for (const int put : { 1, 0, -1 }) {
        int value = put;
        host->exchange = [&](fw::DataExchange& dx) { fw::DDX_CBIndex(dx, ids::paper, value); };
        EXPECT_TRUE(host->UpdateData(win::FALSE));
        EXPECT_EQ(Item(ids::paper).GetCurSel(), put);
        value = 42;
        EXPECT_TRUE(host->UpdateData(win::TRUE));
        EXPECT_EQ(value, put);
    }
}

TEST_F(Exchange, ComboStringsSelectTheFirstItemBeginningWithTheText)
{
    for (const char* path : { "/packs/a.csv", "/packs/B.csv", "/packs/b.csv" })
        Item(ids::pack).AddString(path);
    Item(ids::paper).AddString("A4");
    Item(ids::paper).AddString("A5");
    struct Case {
        win::UINT id;
        std::string put;
        int selected; // -1: none
        std::string shown;
    };
    const Case cases[] = {
        { ids::pack, "/packs/b", 1, "/packs/B.csv" }, // letter case ignored, first match
        { ids::pack, "/PACKS/A.CSV", 0, "/packs/a.csv" },
        { ids::pack, "", 0, "/packs/a.csv" }, // an empty text selects the first item
        { ids::pack, "/other.csv", 0, "/other.csv" }, // no match: the edit shows the text
        { ids::paper, "A5", 1, "A5" },
        { ids::paper, "Letter", 1, "A5" }, // no match in a list: nothing changes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.put);
        std::string value = c.put;
        host->exchange = [&](fw::DataExchange& dx) { fw::DDX_CBString(dx, c.id, value); };
        EXPECT_TRUE(host->UpdateData(win::FALSE));
        EXPECT_EQ(Item(c.id).GetCurSel(), c.selected);
        EXPECT_EQ(Item(c.id).GetWindowText(), c.shown);
        value = "changed";
        EXPECT_TRUE(host->UpdateData(win::TRUE));
        EXPECT_EQ(value, c.shown);
    }
}

TEST_F(Exchange, TextsAndControlMembers)
{
    std::string name = "Caf\xe9";
    std::string notes = "one\r\ntwo";
    fw::Control member;
    host->exchange = [&](fw::DataExchange& dx) {
        fw::DDX_Control(dx, ids::pack, member);
        fw::DDX_Text(dx, ids::name, name);
        fw::DDX_Text(dx, ids::notes, notes);
    };
    EXPECT_TRUE(host->UpdateData(win::FALSE));
    EXPECT_EQ(qobject_cast<QLineEdit*>(Item(ids::name).GetWidget())->text(), QString::fromUtf8("Café"));
    EXPECT_TRUE(member.IsValid());
    EXPECT_EQ(member.GetDlgCtrlID(), ids::pack);
    member.AddString("through the member");
    EXPECT_EQ(Item(ids::pack).GetCount(), 1);
    name.clear();
    notes.clear();
    EXPECT_TRUE(host->UpdateData(win::TRUE));
    EXPECT_EQ(name, "Caf\xe9");
    EXPECT_EQ(notes, "one\r\ntwo");
}

TEST_F(Exchange, AnExchangeNamingAControlTheWindowLacksIsReportedNotCrashed)
{
    host->exchange = [](fw::DataExchange& dx) {
        std::string text;
        fw::DDX_Text(dx, 4242, text);
    };
    modal->AnswerNext(win::IDOK);
    EXPECT_TRUE(fw::GuardedCall([&] { host->UpdateData(win::TRUE); }) == false);
    EXPECT_EQ(modal->Messages().back().text, "The dialog has no control 4242.");
}

} // namespace
} // namespace fwtest
