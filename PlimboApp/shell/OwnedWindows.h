#pragma once

class QWidget;

namespace plimbo {

// The windows a window owns (its alerts and dialogs, made with it or one of its widgets as
// parent) belong above it. Window managers keep them there; without one the stacking order is
// simply the order of the raises, so whoever raises a window raises what it owns after it.
class OwnedWindows {
public:
    OwnedWindows() = delete;

    // Raises `window`, then each shown window it owns.
    static void raise(QWidget& window);
    // Gives the keyboard to the shown modal window `window` owns, or else to `window` itself:
    // a window blocked by its own alert cannot take input.
    static void activate(QWidget& window);
    // The last shown modal window that `window` owns; null when none is up.
    static QWidget* shownModal(QWidget& window);
};

} // namespace plimbo
