#include "platform/qt/fw/CommonDialogs.h"

#include "platform/win/AppContext.h"

namespace fw {

int AfxMessageBox(std::string_view text, win::UINT type)
{
    return win::AppContext::Instance().MessageBox(text, type);
}

int AfxMessageBoxUtf8(std::string_view text, win::UINT type)
{
    return win::AppContext::Instance().Modal().MessageBoxUtf8(text, type);
}

FileDialog::FileDialog(win::BOOL open, std::string_view defaultExt, std::string_view fileName,
    win::DWORD flags, std::string_view filter)
    : request_ { open != win::FALSE, std::string(defaultExt), std::string(fileName), flags,
        std::string(filter) }
{
}

int FileDialog::DoModal()
{
    std::string path;
    const int answer = win::AppContext::Instance().Modal().FileDialog(request_, path);
    if (answer == win::IDOK)
        path_ = std::move(path);
    return answer;
}

ColorDialog::ColorDialog(win::COLORREF initial, win::DWORD flags)
    : colour_(initial)
{
    m_cc.Flags = flags;
    m_cc.rgbResult = initial;
    ownCustomColours_.fill(win::RGB(255, 255, 255));
}

int ColorDialog::DoModal()
{
    std::array<win::COLORREF, 16>& custom
        = m_cc.lpCustColors != nullptr ? *m_cc.lpCustColors : ownCustomColours_;
    win::COLORREF colour = m_cc.rgbResult;
    const int answer = win::AppContext::Instance().Modal().ColorDialog(colour, custom, m_cc.Flags);
    if (answer == win::IDOK) {
        colour_ = colour;
        m_cc.rgbResult = colour;
    }
    return answer;
}

} // namespace fw
