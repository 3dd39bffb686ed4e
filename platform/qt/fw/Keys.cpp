#include "platform/qt/fw/Keys.h"

#include <Qt>

#include <array>
#include <utility>

namespace fw {

namespace {
constexpr std::array<std::pair<win::UINT, int>, 10> namedKeys { {
    { win::VK_BACK, Qt::Key_Backspace },
    { win::VK_TAB, Qt::Key_Tab },
    { win::VK_RETURN, Qt::Key_Return },
    { win::VK_ESCAPE, Qt::Key_Escape },
    { win::VK_LEFT, Qt::Key_Left },
    { win::VK_UP, Qt::Key_Up },
    { win::VK_RIGHT, Qt::Key_Right },
    { win::VK_DOWN, Qt::Key_Down },
    { win::VK_INSERT, Qt::Key_Insert },
    { win::VK_DELETE, Qt::Key_Delete },
} };

bool LetterOrDigit(int key)
{
    return (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
}
} // namespace

win::UINT VirtualKeyOf(int qtKey)
{
    if (qtKey == Qt::Key_Enter) // the keypad's Enter is Return to the original
        return win::VK_RETURN;
    for (const auto& [code, key] : namedKeys)
        if (key == qtKey)
            return code;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return win::VK_F1 + static_cast<win::UINT>(qtKey - Qt::Key_F1);
    return LetterOrDigit(qtKey) ? static_cast<win::UINT>(qtKey) : 0;
}

int QtKeyOf(win::UINT virtualKey)
{
    for (const auto& [code, key] : namedKeys)
        if (code == virtualKey)
            return key;
    if (virtualKey >= win::VK_F1 && virtualKey < win::VK_F1 + 12)
        return Qt::Key_F1 + static_cast<int>(virtualKey - win::VK_F1);
    const int key = static_cast<int>(virtualKey);
    return LetterOrDigit(key) ? key : Qt::Key_unknown;
}

} // namespace fw
