#include "PlimboGlobalShortcut.h"

#include "HotKeyBackend.h"

#include <QtCore/qnamespace.h>

namespace plimbo {

std::optional<PlimboGlobalShortcut> globalShortcutFromRawValue(quint32 raw) {
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        if (rawValue(shortcut) == raw) {
            return shortcut;
        }
    }
    return std::nullopt;
}

QList<PlimboGlobalShortcut> allGlobalShortcuts() {
    return {PlimboGlobalShortcut::commandPalette, PlimboGlobalShortcut::launcher,
            PlimboGlobalShortcut::clipboard};
}

GlobalShortcutBinding bindingFor(PlimboGlobalShortcut shortcut) {
    constexpr quint32 space = Qt::Key_Space;
    constexpr quint32 letterV = Qt::Key_V;
    switch (shortcut) {
    case PlimboGlobalShortcut::commandPalette:
        return {space, HotKeyBackend::CommandModifier | HotKeyBackend::OptionModifier};
    case PlimboGlobalShortcut::launcher:
        return {space, HotKeyBackend::OptionModifier};
    case PlimboGlobalShortcut::clipboard:
        return {letterV, HotKeyBackend::OptionModifier | HotKeyBackend::ControlModifier};
    }
    return {};
}

} // namespace plimbo
