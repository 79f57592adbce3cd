#pragma once

#include <QHashFunctions>
#include <QList>
#include <QMetaType>
#include <QSet>
#include <QtGlobal>

#include <optional>

namespace plimbo {

// The three system-wide shortcuts. The raw value is also the hot-key identifier.
enum class PlimboGlobalShortcut : quint32 { commandPalette = 1, launcher = 2, clipboard = 3 };

// The key combination of a shortcut: a Qt::Key and HotKeyBackend modifier bits (Command is
// Super and Option is Alt on Linux).
struct GlobalShortcutBinding {
    quint32 keyCode = 0;
    quint32 modifiers = 0;

    bool operator==(const GlobalShortcutBinding&) const = default;
};

inline quint32 rawValue(PlimboGlobalShortcut shortcut) {
    return static_cast<quint32>(shortcut);
}
// Any value other than 1, 2 or 3 names no shortcut.
std::optional<PlimboGlobalShortcut> globalShortcutFromRawValue(quint32 raw);
// In registration order: palette, launcher, clipboard.
QList<PlimboGlobalShortcut> allGlobalShortcuts();
// Option-Command-Space, Option-Space, Control-Option-V.
GlobalShortcutBinding bindingFor(PlimboGlobalShortcut shortcut);

inline size_t qHash(PlimboGlobalShortcut shortcut, size_t seed = 0) noexcept {
    return ::qHash(rawValue(shortcut), seed);
}

using GlobalShortcutSet = QSet<PlimboGlobalShortcut>;

} // namespace plimbo

Q_DECLARE_METATYPE(plimbo::PlimboGlobalShortcut)
