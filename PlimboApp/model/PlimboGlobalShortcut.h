#pragma once

#include "HotKeyBackend.h"

#include <QHash>
#include <QHashFunctions>
#include <QKeyCombination>
#include <QList>
#include <QSet>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace plimbo {

class GlobalHotKeyController;
class GlobalShortcuts;

// The three system-wide shortcuts. The raw value is also the hot-key identifier.
enum class PlimboGlobalShortcut : quint32 { commandPalette = 1, launcher = 2, clipboard = 3 };

inline quint32 rawValue(PlimboGlobalShortcut shortcut) {
    return static_cast<quint32>(shortcut);
}
// Any value other than 1, 2 or 3 names no shortcut.
std::optional<PlimboGlobalShortcut> globalShortcutFromRawValue(quint32 raw);
// In registration order: palette, launcher, clipboard.
QList<PlimboGlobalShortcut> allGlobalShortcuts();
// Super+Alt+Space, Alt+Space, Ctrl+Alt+V (Qt's Meta is Super).
QKeyCombination bindingFor(PlimboGlobalShortcut shortcut);

inline size_t qHash(PlimboGlobalShortcut shortcut, size_t seed = 0) noexcept {
    return ::qHash(rawValue(shortcut), seed);
}

using GlobalShortcutSet = QSet<PlimboGlobalShortcut>;

// Where a shortcut stands with the desktop.
enum class GlobalShortcutState {
    // Not registered yet, or the desktop has not answered.
    waiting,
    active,
    // The desktop holds it but gave it no keys (the user removed them there).
    noKeys,
    // Another program or the desktop itself holds the combination.
    takenElsewhere,
    // The desktop, or the user in its dialog, declined it.
    declined,
    // Nothing here can hold it (no portal, the portal gone, no display connection, ...).
    unavailable,
};
// The state a registration or binding status stands for.
GlobalShortcutState globalShortcutState(HotKeyStatus status);

// How the desktop portal lists a shortcut: a stable id (the desktop keeps the user's choice of
// keys under it) and what it does.
struct GlobalShortcutPortalName {
    QString id;
    QString description;
};
GlobalShortcutPortalName portalNameFor(PlimboGlobalShortcut shortcut);

// The shortcuts whose keys the controller's desktop holds now.
GlobalShortcutSet activeGlobalShortcuts(const GlobalHotKeyController& controller);

// --- Labels. Every text that shows a key combination comes from here: Linux notation, the
// modifiers in the order Super, Ctrl, Alt, Shift, joined to the key by "+" ("Ctrl+Alt+V").

// A Qt key combination (Meta is Super); empty for no key.
QString shortcutLabel(QKeyCombination combination);
// A trigger as the desktop describes it ("Meta+Alt+Space", "<Super><Alt>space",
// "LOGO+ALT+space"), in the notation above when it can be read, else as given.
QString shortcutLabelForDesktopTrigger(const QString& trigger);
// A global shortcut's keys: the desktop's trigger when it bound one, else our own combination
// ("Super+Alt+Space", "Alt+Space", "Ctrl+Alt+V").
QString globalShortcutLabel(PlimboGlobalShortcut shortcut, const QString& desktopTrigger = {});
// What the surfaces that name a shortcut's keys show (the menu's Command tile, the quick panels'
// footers, the overview): its keys while they work or the desktop has not answered, "No keys"
// or "Unavailable" otherwise. Views refresh it on the shortcuts' labelsChanged.
QString globalShortcutHint(const GlobalShortcuts& shortcuts, PlimboGlobalShortcut shortcut);
// The settings' help text under the shortcuts: what they do, and for each kind of failure that
// is there now what to do about it.
QString globalShortcutsNote(const GlobalShortcuts& shortcuts);
// In place of the keys of a shortcut the desktop holds without keys, "No keys".
QString globalShortcutWithoutKeysText();

} // namespace plimbo
