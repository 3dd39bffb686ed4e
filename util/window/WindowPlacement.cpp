#include "util/window/WindowPlacement.h"

#include "records/SharedFunctions.h"

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr std::string_view kSection = "WndPos";
// Where a window keeps the minimised and maximised positions it was given.
constexpr const char* kMinPositionProperty = "orvanelMinPosition";
constexpr const char* kMaxPositionProperty = "orvanelMaxPosition";

// The ten values in the order they are read; each names the field it stands for.
struct PlacementValue {
    std::string_view name;
    win::LONG& (*field)(WINDOWPLACEMENT&);
};

win::LONG& AsLong(win::UINT& value)
{
    return reinterpret_cast<win::LONG&>(value);
}

const PlacementValue kValues[] = {
    { "WpFlags", [](WINDOWPLACEMENT& p) -> win::LONG& { return AsLong(p.flags); } },
    { "WpMaxx", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.ptMaxPosition.x; } },
    { "WpMaxy", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.ptMaxPosition.y; } },
    { "WpMinx", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.ptMinPosition.x; } },
    { "WpMiny", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.ptMinPosition.y; } },
    { "WpNorB", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.rcNormalPosition.bottom; } },
    { "WpNorL", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.rcNormalPosition.left; } },
    { "WpNorR", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.rcNormalPosition.right; } },
    { "WpNorT", [](WINDOWPLACEMENT& p) -> win::LONG& { return p.rcNormalPosition.top; } },
    { "WpShow", [](WINDOWPLACEMENT& p) -> win::LONG& { return AsLong(p.showCmd); } },
};

std::string EntryName(std::string_view prefix, std::string_view name)
{
    return std::string(prefix) + std::string(name);
}

win::POINT KeptPosition(const QWidget& window, const char* property)
{
    const QVariant value = window.property(property);
    if (!value.isValid())
        return { -1, -1 };
    const QPoint point = value.toPoint();
    return { point.x(), point.y() };
}

// How far the rectangle lies from the screen (0 when they overlap), squared.
int64_t DistanceSquared(const win::RECT& r, const win::RECT& s)
{
    const int64_t dx = std::max<int64_t>({ 0, int64_t { s.left } - r.right, int64_t { r.left } - s.right });
    const int64_t dy = std::max<int64_t>({ 0, int64_t { s.top } - r.bottom, int64_t { r.top } - s.bottom });
    return dx * dx + dy * dy;
}

bool Overlaps(const win::RECT& r, const win::RECT& s)
{
    return r.left < s.right && s.left < r.right && r.top < s.bottom && s.top < r.bottom;
}

// Moves the span [from, to) into [low, high), cut to the length of that range.
std::pair<win::LONG, win::LONG> MoveInto(win::LONG from, win::LONG to, win::LONG low, win::LONG high)
{
    const int64_t length = std::min<int64_t>(int64_t { to } - from, int64_t { high } - low);
    const int64_t start = std::clamp<int64_t>(from, low, high - length);
    return { static_cast<win::LONG>(start), static_cast<win::LONG>(start + length) };
}

std::vector<win::RECT> ScreenRects()
{
    std::vector<win::RECT> rects;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect r = screen->availableGeometry();
        rects.push_back({ r.left(), r.top(), r.left() + r.width(), r.top() + r.height() });
    }
    return rects;
}

Qt::WindowStates StateOf(win::UINT showCmd)
{
    switch (showCmd) {
    case win::SW_SHOWMINIMIZED:
    case 6: // minimise
    case 7: // minimise without activating
        return Qt::WindowMinimized;
    case win::SW_SHOWMAXIMIZED:
        return Qt::WindowMaximized;
    default:
        return Qt::WindowNoState;
    }
}

} // namespace

win::RECT BringOntoScreens(const win::RECT& rect, const std::vector<win::RECT>& screens)
{
    if (screens.empty()
        || std::any_of(screens.begin(), screens.end(), [&](const win::RECT& s) { return Overlaps(rect, s); }))
        return rect;
    const win::RECT& nearest
        = *std::min_element(screens.begin(), screens.end(), [&](const win::RECT& a, const win::RECT& b) {
              return DistanceSquared(rect, a) < DistanceSquared(rect, b);
          });
    const auto [left, right] = MoveInto(rect.left, rect.right, nearest.left, nearest.right);
    const auto [top, bottom] = MoveInto(rect.top, rect.bottom, nearest.top, nearest.bottom);
    return { left, top, right, bottom };
}

WINDOWPLACEMENT GetWindowPlacement(const QWidget& window)
{
    WINDOWPLACEMENT placement;
    const QRect normal = window.isWindow() && !window.normalGeometry().isEmpty() ? window.normalGeometry()
                                                                                 : window.geometry();
    placement.rcNormalPosition
        = { normal.left(), normal.top(), normal.left() + normal.width(), normal.top() + normal.height() };
    placement.showCmd = window.isMinimized() ? win::SW_SHOWMINIMIZED
        : window.isMaximized()               ? win::SW_SHOWMAXIMIZED
                                             : win::SW_SHOWNORMAL;
    placement.ptMinPosition = KeptPosition(window, kMinPositionProperty);
    placement.ptMaxPosition = KeptPosition(window, kMaxPositionProperty);
    return placement;
}

void SetWindowPlacement(QWidget& window, const WINDOWPLACEMENT& placement)
{
    window.setProperty(kMinPositionProperty, QPoint(placement.ptMinPosition.x, placement.ptMinPosition.y));
    window.setProperty(kMaxPositionProperty, QPoint(placement.ptMaxPosition.x, placement.ptMaxPosition.y));
    const win::RECT r = BringOntoScreens(placement.rcNormalPosition, ScreenRects());
    const int64_t width = int64_t { r.right } - r.left;
    const int64_t height = int64_t { r.bottom } - r.top;
    window.setWindowState(Qt::WindowNoState);
    if (width > 0 && height > 0 && width <= QWIDGETSIZE_MAX && height <= QWIDGETSIZE_MAX)
        window.setGeometry(r.left, r.top, static_cast<int>(width), static_cast<int>(height));
    if (placement.showCmd == static_cast<win::UINT>(win::SW_HIDE)) {
        window.hide();
        return;
    }
    window.setWindowState(StateOf(placement.showCmd));
    window.show();
}

void LoadWindowPlacement(WINDOWPLACEMENT& placement, std::string_view prefix)
{
    win::AppContext& app = GetTheApp();
    for (const PlacementValue& value : kValues) {
        win::LONG& field = value.field(placement);
        field = app.GetProfileInt(kSection, EntryName(prefix, value.name), field);
    }
}

void RestoreWindowPlacement(QWidget& window, std::string_view prefix)
{
    WINDOWPLACEMENT placement = GetWindowPlacement(window);
    LoadWindowPlacement(placement, prefix);
    SetWindowPlacement(window, placement);
}

void SaveWindowPlacement(const QWidget& window, std::string_view prefix)
{
    WINDOWPLACEMENT placement = GetWindowPlacement(window);
    win::AppContext& app = GetTheApp();
    for (const PlacementValue& value : kValues)
        app.WriteProfileInt(kSection, EntryName(prefix, value.name), value.field(placement));
}
