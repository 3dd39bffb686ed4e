#include "platform/qt/fw/DataExchange.h"

#include "platform/qt/fw/CommonDialogs.h"
#include "platform/qt/fw/Control.h"
#include "platform/qt/fw/ControlHost.h"
#include "platform/qt/fw/ControlPanel.h"

#include <QLineEdit>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <type_traits>

namespace fw {

namespace {
constexpr win::UINT messageStyle = win::MB_OK | win::MB_ICONEXCLAMATION;

bool Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && Blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && Blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A decimal integer with an optional sign and blanks around it, in the given range.
std::optional<int64_t> ParseInteger(std::string_view text, int64_t low, int64_t high)
{
    text = Trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size() || magnitude > uint64_t { INT64_MAX })
        return std::nullopt;
    const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> ParseReal(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatReal(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

// Takes an integer from the edit, or tells the user the message and fails.
template <class T> void ExchangeInteger(DataExchange& dx, win::UINT id, T& value, std::string_view message)
{
    Control& edit = dx.PrepareEditCtrl(id);
    if (!dx.m_bSaveAndValidate) {
        edit.SetWindowText(std::to_string(value));
        return;
    }
    const std::string text = edit.GetWindowText();
    // An unsigned value has no sign to give, not even on zero.
    const bool signRefused = std::is_unsigned_v<T> && Trimmed(text).starts_with('-');
    const auto parsed = ParseInteger(text, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!parsed || signRefused) {
        AfxMessageBox(message, messageStyle);
        dx.Fail();
    }
    value = static_cast<T>(*parsed);
}
// Taking values: a value outside the limits tells the user and fails.
template <class T> void CheckRange(DataExchange& dx, T value, T minValue, T maxValue)
{
    if (!dx.m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    AfxMessageBox(
        FormatMessageText(kParseIntRange, std::to_string(minValue), std::to_string(maxValue)), messageStyle);
    dx.Fail();
}
} // namespace

DataExchange::DataExchange(ControlHost& host, win::BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate)
    , m_pDlgWnd(&host)
{
}

Control& DataExchange::PrepareCtrl(win::UINT id)
{
    Control* control = m_pDlgWnd->GetDlgItem(id);
    if (control == nullptr)
        throw std::logic_error("The dialog has no control " + std::to_string(id) + ".");
    lastControl_ = id;
    lastIsEdit_ = false;
    return *control;
}

Control& DataExchange::PrepareEditCtrl(win::UINT id)
{
    Control& control = PrepareCtrl(id);
    lastIsEdit_ = true;
    return control;
}

Control* DataExchange::LastControl() const
{
    return lastControl_ != 0 ? m_pDlgWnd->GetDlgItem(lastControl_) : nullptr;
}

void DataExchange::Fail()
{
    if (Control* control = LastControl()) {
        control->SetFocus();
        if (lastIsEdit_)
            control->SetSel(0, -1);
    }
    throw UserException {};
}

std::string FormatMessageText(std::string_view text, std::string_view first, std::string_view second)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            result += text[i + 1] == '1' ? first : second;
            ++i;
        } else
            result += text[i];
    }
    return result;
}

void DDX_Text(DataExchange& dx, win::UINT id, std::string& value)
{
    Control& edit = dx.PrepareEditCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = edit.GetWindowText();
    else
        edit.SetWindowText(value);
}

void DDX_Text(DataExchange& dx, win::UINT id, QString& value)
{
    auto* edit = qobject_cast<QLineEdit*>(dx.PrepareEditCtrl(id).GetWidget());
    if (edit == nullptr)
        return;
    if (dx.m_bSaveAndValidate)
        value = edit->text();
    else if (edit->text() != value)
        edit->setText(value);
}

void DDX_Text(DataExchange& dx, win::UINT id, int& value)
{
    ExchangeInteger(dx, id, value, kParseInt);
}

void DDX_Text(DataExchange& dx, win::UINT id, win::UINT& value)
{
    ExchangeInteger(dx, id, value, kParseUInt);
}

void DDX_Text(DataExchange& dx, win::UINT id, double& value)
{
    Control& edit = dx.PrepareEditCtrl(id);
    if (!dx.m_bSaveAndValidate) {
        edit.SetWindowText(FormatReal(value));
        return;
    }
    const auto parsed = ParseReal(edit.GetWindowText());
    if (!parsed) {
        AfxMessageBox(kParseReal, messageStyle);
        dx.Fail();
    }
    value = *parsed;
}

void DDX_Check(DataExchange& dx, win::UINT id, int& value)
{
    Control& box = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = box.GetCheck();
    else
        box.SetCheck(value);
}

void DDX_Radio(DataExchange& dx, win::UINT id, int& value)
{
    dx.PrepareCtrl(id);
    const std::vector<win::UINT> group = dx.m_pDlgWnd->GetRadioGroup(id);
    if (dx.m_bSaveAndValidate)
        value = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
        Control* radio = dx.m_pDlgWnd->GetDlgItem(group[i]);
        if (dx.m_bSaveAndValidate) {
            if (radio->GetCheck() != 0) {
                value = static_cast<int>(i);
                break;
            }
        } else
            radio->SetCheck(static_cast<int>(i) == value ? 1 : 0);
    }
}

void DDX_CBIndex(DataExchange& dx, win::UINT id, int& value)
{
    Control& combo = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate)
        value = combo.GetCurSel();
    else
        combo.SetCurSel(value);
}

void DDX_CBString(DataExchange& dx, win::UINT id, std::string& value)
{
    Control& combo = dx.PrepareCtrl(id);
    if (dx.m_bSaveAndValidate) {
        value = combo.GetWindowText();
        return;
    }
    const int found = combo.FindString(-1, value);
    if (found != CB_ERR)
        combo.SetCurSel(found);
    else
        combo.SetWindowText(value);
}

void DDX_Control(DataExchange& dx, win::UINT id, Control& control)
{
    control.Attach(dx.PrepareCtrl(id));
}

void DDV_MinMaxInt(DataExchange& dx, int value, int minValue, int maxValue)
{
    CheckRange(dx, value, minValue, maxValue);
}

void DDV_MinMaxUInt(DataExchange& dx, win::UINT value, win::UINT minValue, win::UINT maxValue)
{
    CheckRange(dx, value, minValue, maxValue);
}

void DDV_MaxChars(DataExchange& dx, const std::string& value, int maxChars)
{
    if (!dx.m_bSaveAndValidate) {
        if (Control* edit = dx.LastControl())
            edit->LimitText(maxChars);
        return;
    }
    if (static_cast<int>(value.size()) <= maxChars)
        return;
    AfxMessageBox(FormatMessageText(kParseStringSize, std::to_string(maxChars)), messageStyle);
    dx.Fail();
}

} // namespace fw
