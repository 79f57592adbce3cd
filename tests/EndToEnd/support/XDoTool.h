#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

namespace plimbo::test {

// Drives the X server the way a user would: keys, typing and clicks through xdotool, and
// questions about which windows are shown and focused.
class XDoTool {
public:
    XDoTool() = delete;

    static bool run(const QStringList& arguments, QString* output = nullptr);
    static bool key(const QString& keys) { return run({QStringLiteral("key"), keys}); }
    static bool type(const QString& text);
    static bool click(const QPoint& screenPoint);

    // The name of the window holding the keyboard focus; none when it is the root or unset.
    static std::optional<QString> focusedWindowName();
    // Frames of the shown windows whose name is exactly `name`.
    static QList<QRect> visibleWindows(const QString& name);
    // Identifiers of the shown windows whose name is exactly `name`.
    static QList<quint64> visibleWindowIds(const QString& name);
};

} // namespace plimbo::test
