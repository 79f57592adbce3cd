#include "PlimboGlobalShortcut.h"

#include "GlobalHotKeyController.h"
#include "GlobalShortcuts.h"
#include "HotKeyBackend.h"

#include <QKeySequence>
#include <QRegularExpression>
#include <QStringList>
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

QKeyCombination bindingFor(PlimboGlobalShortcut shortcut) {
    switch (shortcut) {
    case PlimboGlobalShortcut::commandPalette:
        return QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space);
    case PlimboGlobalShortcut::launcher:
        return QKeyCombination(Qt::AltModifier, Qt::Key_Space);
    case PlimboGlobalShortcut::clipboard:
        return QKeyCombination(Qt::AltModifier | Qt::ControlModifier, Qt::Key_V);
    }
    return {};
}

GlobalShortcutPortalName portalNameFor(PlimboGlobalShortcut shortcut) {
    switch (shortcut) {
    case PlimboGlobalShortcut::commandPalette:
        return {QStringLiteral("command-palette"), QStringLiteral("Open the command palette")};
    case PlimboGlobalShortcut::launcher:
        return {QStringLiteral("launcher"), QStringLiteral("Open the launcher")};
    case PlimboGlobalShortcut::clipboard:
        return {QStringLiteral("clipboard"), QStringLiteral("Open the clipboard history")};
    }
    return {};
}

GlobalShortcutState globalShortcutState(HotKeyStatus status) {
    switch (status) {
    case HotKeyStatus::success:
        return GlobalShortcutState::active;
    case HotKeyStatus::pending:
        return GlobalShortcutState::waiting;
    case HotKeyStatus::noKeys:
        return GlobalShortcutState::noKeys;
    case HotKeyStatus::takenByAnotherClient:
        return GlobalShortcutState::takenElsewhere;
    case HotKeyStatus::refusedByDesktop:
        return GlobalShortcutState::declined;
    case HotKeyStatus::alreadyTaken:
    case HotKeyStatus::refusedByDisplayServer:
    case HotKeyStatus::noDisplayConnection:
    case HotKeyStatus::unknownKey:
    case HotKeyStatus::unsupportedModifiers:
    case HotKeyStatus::nothingStored:
    case HotKeyStatus::handlerNotInstalled:
    case HotKeyStatus::noShortcutsFacility:
        break;
    }
    return GlobalShortcutState::unavailable;
}

GlobalShortcutSet activeGlobalShortcuts(const GlobalHotKeyController& controller) {
    GlobalShortcutSet active;
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        if (controller.isActive(rawValue(shortcut))) {
            active.insert(shortcut);
        }
    }
    return active;
}

namespace {

enum Modifier : quint32 { super = 1, ctrl = 2, alt = 4, shift = 8 };

QString joined(quint32 modifiers, const QString& key) {
    QStringList parts;
    if (modifiers & super) {
        parts << QStringLiteral("Super");
    }
    if (modifiers & ctrl) {
        parts << QStringLiteral("Ctrl");
    }
    if (modifiers & alt) {
        parts << QStringLiteral("Alt");
    }
    if (modifiers & shift) {
        parts << QStringLiteral("Shift");
    }
    parts << key;
    return parts.join(QLatin1Char('+'));
}

// Qt's portable name of a single key ("Space", "V", "F5"); empty when Qt has none.
QString keyText(int key) {
    if (key == 0 || key == Qt::Key_unknown) {
        return {};
    }
    return QKeySequence(key).toString(QKeySequence::PortableText);
}

std::optional<quint32> modifierNamed(QString name) {
    name = name.trimmed().toLower();
    if (name == u"super" || name == u"logo" || name == u"meta" || name == u"mod4" ||
        name == u"win" || name == u"windows" || name == u"hyper") {
        return super;
    }
    if (name == u"ctrl" || name == u"control" || name == u"primary") {
        return ctrl;
    }
    if (name == u"alt" || name == u"mod1" || name == u"option") {
        return alt;
    }
    if (name == u"shift") {
        return shift;
    }
    return std::nullopt;
}

} // namespace

QString shortcutLabel(QKeyCombination combination) {
    const QString key = keyText(combination.key());
    if (key.isEmpty()) {
        return {};
    }
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    quint32 ours = 0;
    if (modifiers & Qt::MetaModifier) {
        ours |= super;
    }
    if (modifiers & Qt::ControlModifier) {
        ours |= ctrl;
    }
    if (modifiers & Qt::AltModifier) {
        ours |= alt;
    }
    if (modifiers & Qt::ShiftModifier) {
        ours |= shift;
    }
    return joined(ours, key);
}

QString shortcutLabelForDesktopTrigger(const QString& trigger) {
    const QString text = trigger.trimmed();
    QStringList modifierNames;
    QString key;
    // GTK accelerators: "<Super><Alt>space".
    static const QRegularExpression accelerator(QStringLiteral("^((?:<[A-Za-z0-9]+>)+)([^<>+]+)$"));
    const QRegularExpressionMatch match = accelerator.match(text);
    if (match.hasMatch()) {
        modifierNames = match.captured(1).mid(1).chopped(1).split(QStringLiteral("><"));
        key = match.captured(2);
    } else {
        QStringList parts = text.split(QLatin1Char('+'));
        if (text.endsWith(QStringLiteral("++"))) {
            // The plus key itself.
            parts = text.chopped(2).split(QLatin1Char('+'));
            parts << QStringLiteral("+");
        }
        key = parts.takeLast();
        modifierNames = parts;
    }
    quint32 modifiers = 0;
    for (const QString& name : std::as_const(modifierNames)) {
        const std::optional<quint32> modifier = modifierNamed(name);
        if (!modifier) {
            return text;
        }
        modifiers |= *modifier;
    }
    // One key, which Qt can name ("space", "Space", "v", "F5"); anything else is shown as given.
    key = key.trimmed();
    if (key.isEmpty() || key.contains(QLatin1Char(' ')) || key.contains(QLatin1Char(','))) {
        return text;
    }
    const QKeySequence sequence = QKeySequence::fromString(key, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].keyboardModifiers() != Qt::NoModifier ||
        sequence[0].key() == Qt::Key_unknown) {
        return text;
    }
    return joined(modifiers, keyText(sequence[0].key()));
}

QString globalShortcutLabel(PlimboGlobalShortcut shortcut, const QString& desktopTrigger) {
    if (!desktopTrigger.trimmed().isEmpty()) {
        return shortcutLabelForDesktopTrigger(desktopTrigger);
    }
    return shortcutLabel(bindingFor(shortcut));
}

QString globalShortcutWithoutKeysText() {
    return QStringLiteral("No keys");
}

QString globalShortcutHint(const GlobalShortcuts& shortcuts, PlimboGlobalShortcut shortcut) {
    switch (shortcuts.state(shortcut)) {
    case GlobalShortcutState::waiting:
    case GlobalShortcutState::active:
        return shortcuts.label(shortcut);
    case GlobalShortcutState::noKeys:
        return globalShortcutWithoutKeysText();
    case GlobalShortcutState::takenElsewhere:
    case GlobalShortcutState::declined:
    case GlobalShortcutState::unavailable:
        break;
    }
    return QStringLiteral("Unavailable");
}

QString globalShortcutsNote(const GlobalShortcuts& shortcuts) {
    QSet<GlobalShortcutState> states;
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        states.insert(shortcuts.state(shortcut));
    }
    QStringList note{
        QStringLiteral("These shortcuts work globally while Plimbo is running in the tray.")};
    if (states.contains(GlobalShortcutState::takenElsewhere)) {
        note << QStringLiteral(
            "Another app or the desktop already owns a combination marked Unavailable; free it and "
            "press Retry Shortcuts.");
    }
    if (states.contains(GlobalShortcutState::declined)) {
        note << QStringLiteral("The desktop declined a shortcut marked Unavailable; press Retry "
                               "Shortcuts to ask again.");
    }
    if (states.contains(GlobalShortcutState::noKeys)) {
        note << QStringLiteral(
            "A shortcut showing “No keys” has none on this desktop; give it keys in the desktop’s "
            "shortcut settings (on KDE: System Settings › Shortcuts, under “plimbo”).");
    }
    return note.join(QLatin1Char(' '));
}

} // namespace plimbo
