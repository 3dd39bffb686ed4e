// Colours cross into Qt here: the program's COLORREF (red in the low byte) and Qt's QColor.
#pragma once

#include "platform/win/Types.h"

#include <QColor>

namespace fw {

inline QColor ToQColor(win::COLORREF colour)
{
    return QColor(win::GetRValue(colour), win::GetGValue(colour), win::GetBValue(colour));
}

// The colour's red, green and blue; its alpha is dropped.
inline win::COLORREF FromQColor(const QColor& colour)
{
    return win::RGB(static_cast<win::BYTE>(colour.red()), static_cast<win::BYTE>(colour.green()),
        static_cast<win::BYTE>(colour.blue()));
}

} // namespace fw
