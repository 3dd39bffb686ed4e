// One handle for every control of a dialog or form, as GetDlgItem returns it, with the
// original's operations. An operation that does not apply to the control's kind does nothing
// (and returns CB_ERR, 0 or an empty text). Setting a value from code never sends a
// notification: only what the user does reaches the handler maps.
//
// The handle stays valid while the control exists; after the dialog has closed, IsValid is false
// and every operation does nothing.
#pragma once

#include "platform/qt/fw/DialogTemplate.h"
#include "platform/win/Types.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <string>
#include <string_view>

namespace fw {

constexpr int CB_ERR = -1;
constexpr int LB_ERR = -1;

class Control {
public:
    Control() = default;
    Control(QWidget* widget, ControlKind kind, win::UINT id);

    // Makes this handle (a control member of a dialog) stand for the other's control.
    void Attach(const Control& other) { *this = other; }
    bool IsValid() const { return !widget_.isNull(); }
    QWidget* GetWidget() const { return widget_.data(); }
    ControlKind GetKind() const { return kind_; }
    win::UINT GetDlgCtrlID() const { return id_; }

    // The text of an edit, a static, a button or group box, an editable combo's edit (a
    // drop-down list's text is its selected item). Code page 1252; a multi-line edit's lines
    // end with CR LF.
    void SetWindowText(std::string_view text);
    // The same for a text the code page may not hold (a file's name).
    void SetUnicodeText(const QString& text);
    std::string GetWindowText() const;

    win::BOOL EnableWindow(win::BOOL enable = win::TRUE); // true when it was disabled before
    win::BOOL IsWindowEnabled() const;
    win::BOOL ShowWindow(int showCommand); // SW_HIDE or SW_SHOW; true when it was visible before
    win::BOOL IsWindowVisible() const;
    void SetFocus();
    // The control's rectangle in screen coordinates.
    void GetWindowRect(win::RECT* rect) const;

    // Check boxes and radio buttons: 0 clear, 1 ticked (2 shows a check box as indeterminate).
    // A radio set from code leaves the others of its group as they are, as in the original.
    void SetCheck(int check);
    int GetCheck() const;

    // Edits.
    void SetReadOnly(win::BOOL readOnly = win::TRUE);
    win::BOOL IsReadOnly() const;
    void SetSel(int start, int end); // end -1: to the end
    // Limits what the user can type (0: no limit). A longer text already there is kept whole
    // (Qt would cut it; the original never cuts a text it holds), and the user cannot lengthen it.
    void LimitText(int maxChars);

    // Combo boxes and list boxes. Indexes from 0; CB_ERR when there is no such item.
    int AddString(std::string_view text); // appended; returns its index
    int InsertString(int index, std::string_view text); // -1 appends
    // An item shown as the text that holds data of its own (a path's bytes), inserted as
    // InsertString inserts; the data an item holds (empty when none).
    int InsertItem(int index, const QString& text, const QByteArray& data);
    QByteArray GetItemData(int index) const;
    int DeleteString(int index); // returns the count left
    void ResetContent();
    int GetCount() const;
    // The first item after `after` (-1: from the start, wrapping round) equal to the text,
    // letter case ignored.
    int FindStringExact(int after, std::string_view text) const;
    // The first item after `after` that begins with the text, letter case ignored.
    int FindString(int after, std::string_view text) const;
    int SetCurSel(int index); // -1 or an index out of range: no selection (CB_ERR for the latter)
    int GetCurSel() const;
    int GetLBText(int index, std::string& text) const; // length, or CB_ERR
    std::string GetLBText(int index) const;

    // Swatches.
    void SetColor(win::COLORREF colour);
    win::COLORREF GetColor() const;

private:
    QPointer<QWidget> widget_;
    ControlKind kind_ = ControlKind::staticText;
    win::UINT id_ = 0;
};

} // namespace fw
