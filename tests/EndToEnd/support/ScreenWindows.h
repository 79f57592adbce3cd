#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <optional>

namespace plimbo::test {

// What the X server itself says about the windows on screen, as a user would see them: where
// a window really is (window managers put it inside a frame of their own) and which windows
// are topmost at a point.
class ScreenWindows {
public:
    ScreenWindows() = delete;

    // The window's area on the screen, without any window-manager frame.
    static std::optional<QRect> frame(quint64 window);
    // The windows that contain `screenPoint` on the topmost path down from the root: the
    // top-level (or the window manager's frame) there, then its child there, and so on.
    static QList<quint64> topmostAt(const QPoint& screenPoint);
};

} // namespace plimbo::test
