#pragma once

#include "PlimboGlobalShortcut.h"
#include "SurfaceOpeners.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QPushButton;

namespace plimbo {

class GlobalShortcuts;
class NotchSurface;
class SettingsForm;
class SettingsSwitch;
class StatusPill;

// The settings' General tab: the notch surface's two switches, the three global shortcuts with
// whether each is registered (and buttons to try their panels and to register them again), and
// the build's distribution flavour.
class GeneralSettingsView : public QWidget {
    Q_OBJECT

public:
    // The test buttons open the palette, the launcher and the clipboard through `open`.
    GeneralSettingsView(NotchSurface& notch, GlobalShortcuts& shortcuts, SurfaceOpeners open,
                        QWidget* parent = nullptr);

    SettingsForm* form() const { return m_form; }
    SettingsSwitch* notchSwitch() const { return m_notch; }
    SettingsSwitch* virtualNotchSwitch() const { return m_virtualNotch; }
    StatusPill* shortcutPill(PlimboGlobalShortcut shortcut) const {
        return m_pills.value(shortcut);
    }
    QPushButton* testPaletteButton() const { return m_testPalette; }
    QPushButton* testLauncherButton() const { return m_testLauncher; }
    QPushButton* testClipboardButton() const { return m_testClipboard; }
    QPushButton* retryButton() const { return m_retry; }

    // The row title and the key text of a shortcut ("Launcher", "Alt+Space"); the key text is
    // the desktop's own where it bound other keys.
    static QString title(PlimboGlobalShortcut shortcut);
    QString keyText(PlimboGlobalShortcut shortcut) const;
    QLabel* keyLabel(PlimboGlobalShortcut shortcut) const { return m_keyLabels.value(shortcut); }
    // Why no shortcut can work in this session; hidden when they can.
    QLabel* unavailableReasonLabel() const { return m_unavailableReason; }
    QLabel* shortcutsNoteLabel() const { return m_shortcutsNote; }

private:
    void refreshNotch();
    void refreshShortcuts();

    NotchSurface& m_notchSurface;
    GlobalShortcuts& m_shortcuts;
    SurfaceOpeners m_open;
    SettingsForm* m_form;
    SettingsSwitch* m_notch = nullptr;
    SettingsSwitch* m_virtualNotch = nullptr;
    QHash<PlimboGlobalShortcut, StatusPill*> m_pills;
    QHash<PlimboGlobalShortcut, QLabel*> m_keyLabels;
    QLabel* m_shortcutsNote = nullptr;
    QLabel* m_unavailableReason = nullptr;
    QPushButton* m_testPalette = nullptr;
    QPushButton* m_testLauncher = nullptr;
    QPushButton* m_testClipboard = nullptr;
    QPushButton* m_retry = nullptr;
};

} // namespace plimbo
