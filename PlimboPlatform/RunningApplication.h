#pragma once

#include <QtGlobal>

namespace plimbo {

// Another application as the window manager knows it: the process and the window that had
// the focus. Either may be 0 when the window manager does not say.
struct RunningApplication {
    qint64 processIdentifier = 0;
    quint64 windowID = 0;

    bool operator==(const RunningApplication&) const = default;
};

} // namespace plimbo
