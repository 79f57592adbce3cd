#include "PlimboGlobalShortcut.h"

#include "FakeHotKeyBackend.h"
#include "GlobalHotKeyController.h"

#include <gtest/gtest.h>

using namespace plimbo;

TEST(PlimboGlobalShortcutTest, LabelsUseLinuxNotationInOneModifierOrder) {
    EXPECT_EQ(globalShortcutLabel(PlimboGlobalShortcut::commandPalette),
              QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(globalShortcutLabel(PlimboGlobalShortcut::launcher), QStringLiteral("Alt+Space"));
    EXPECT_EQ(globalShortcutLabel(PlimboGlobalShortcut::clipboard), QStringLiteral("Ctrl+Alt+V"));

    EXPECT_EQ(shortcutLabel(QKeyCombination(Qt::ControlModifier, Qt::Key_Q)),
              QStringLiteral("Ctrl+Q"));
    // Qt's Meta is the Super key; the order is always Super, Ctrl, Alt, Shift.
    EXPECT_EQ(shortcutLabel(QKeyCombination(Qt::ShiftModifier | Qt::AltModifier |
                                                Qt::ControlModifier | Qt::MetaModifier,
                                            Qt::Key_F5)),
              QStringLiteral("Super+Ctrl+Alt+Shift+F5"));
    EXPECT_EQ(shortcutLabel(QKeyCombination(Qt::ShiftModifier, Qt::Key_Return)),
              QStringLiteral("Shift+Return"));
    EXPECT_EQ(shortcutLabel(QKeyCombination(Qt::ControlModifier, Qt::Key_unknown)), QString());
    EXPECT_EQ(shortcutLabel(QKeyCombination(Qt::AltModifier)), QString());
}

TEST(PlimboGlobalShortcutTest, DesktopTriggersAreShownInTheSameNotationWhenTheyCanBeRead) {
    // KDE, the XDG shortcuts notation and GTK accelerators.
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("Meta+Alt+Space")),
              QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("LOGO+ALT+space")),
              QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("CTRL+ALT+v")),
              QStringLiteral("Ctrl+Alt+V"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("<Super><Shift>p")),
              QStringLiteral("Super+Shift+P"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("Shift+Control+F5")),
              QStringLiteral("Ctrl+Shift+F5"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("Ctrl++")), QStringLiteral("Ctrl++"));

    // Every name the desktops use for the four modifiers.
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("<Primary><Mod1>v")),
              QStringLiteral("Ctrl+Alt+V"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("<Mod4>Return")),
              QStringLiteral("Super+Return"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("Win+Option+S")),
              QStringLiteral("Super+Alt+S"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("windows+control+e")),
              QStringLiteral("Super+Ctrl+E"));
    EXPECT_EQ(shortcutLabelForDesktopTrigger(QStringLiteral("Hyper+ Shift +h")),
              QStringLiteral("Super+Shift+H"));

    // Anything else is shown as the desktop gives it.
    for (const QString& raw :
         {QStringLiteral("Press the Hyper key twice"), QStringLiteral("Ctrl+Alt+V, Ctrl+X"),
          QStringLiteral("Fn+Alt+Space"), QStringLiteral("Alt+NoSuchKey"),
          QStringLiteral("Alt+Page Up"), QStringLiteral("<Ctrl>a,b"), QStringLiteral("Ctrl+"),
          QStringLiteral("Alt+Ctrl"), QStringLiteral("<Alt>F5F6")}) {
        EXPECT_EQ(shortcutLabelForDesktopTrigger(raw), raw);
    }

    // A global shortcut shows the desktop's trigger where it bound one.
    EXPECT_EQ(globalShortcutLabel(PlimboGlobalShortcut::launcher, QStringLiteral("Meta+L")),
              QStringLiteral("Super+L"));
    EXPECT_EQ(globalShortcutLabel(PlimboGlobalShortcut::launcher, QStringLiteral("  ")),
              QStringLiteral("Alt+Space"));
}

TEST(PlimboGlobalShortcutTest, ActiveShortcutsAreThoseTheControllersDesktopHolds) {
    auto state = std::make_shared<FakeHotKeyBackend::State>();
    state->refuse(QKeyCombination(Qt::AltModifier, Qt::Key_Space),
                  HotKeyStatus::takenByAnotherClient);
    GlobalHotKeyController controller(std::make_unique<FakeHotKeyBackend>(state));
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        controller.registerHotKey(rawValue(shortcut), bindingFor(shortcut), [] {});
    }
    EXPECT_EQ(
        activeGlobalShortcuts(controller),
        (GlobalShortcutSet{PlimboGlobalShortcut::commandPalette, PlimboGlobalShortcut::clipboard}));
    // Stable portal ids: the desktop keeps the user's keys under them.
    EXPECT_EQ(portalNameFor(PlimboGlobalShortcut::commandPalette).id,
              QStringLiteral("command-palette"));
    EXPECT_EQ(portalNameFor(PlimboGlobalShortcut::clipboard).id, QStringLiteral("clipboard"));
}
