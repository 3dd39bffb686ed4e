#include "platform/qt/fw/DialogUnits.h"

#include "platform/win/IntArithmetic.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QString>

#include <cmath>

namespace fw {

QFont DialogFont(std::string_view faceName, int pointSize)
{
    QFont font(faceName == "Arial" ? QStringLiteral("Liberation Sans") : QStringLiteral("DejaVu Sans"));
    font.setPointSize(pointSize);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int width
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // The character height as the original's text metrics give it: ascent and descent each
    // rounded up to whole pixels (Qt's own height rounds them, and a line of text is taller).
    const QFontMetricsF exact(font);
    const int height = static_cast<int>(std::ceil(exact.ascent()) + std::ceil(exact.descent()));
    return { (width / 26 + 1) / 2, height };
}

int DialogToPixelsX(int x, const DialogBaseUnits& base)
{
    return win::SaturateToInt32(win::MulDivRound(x, base.cx, 4));
}

int DialogToPixelsY(int y, const DialogBaseUnits& base)
{
    return win::SaturateToInt32(win::MulDivRound(y, base.cy, 8));
}

QRect MapDialogRect(int x, int y, int cx, int cy, const DialogBaseUnits& base)
{
    const int left = DialogToPixelsX(x, base);
    const int top = DialogToPixelsY(y, base);
    return { left, top, DialogToPixelsX(x + cx, base) - left, DialogToPixelsY(y + cy, base) - top };
}

} // namespace fw
