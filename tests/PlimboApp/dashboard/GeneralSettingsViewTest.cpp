#include "GeneralSettingsView.h"
#include "DashboardHarness.h"
#include "HotKeyBackend.h"
#include "PermissionsView.h"
#include "PlimboTheme.h"
#include "SettingsSwitch.h"
#include "ShellViews.h"
#include "StatusPill.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

using namespace plimbo;
using namespace plimbo::test;

namespace {

class GeneralSettingsViewTest : public ::testing::Test {
protected:
    void makeView() {
        view = std::make_unique<GeneralSettingsView>(harness.model->notch(),
                                                     harness.model->shortcuts(),
                                                     ShellViews::surfaceOpeners(*harness.model));
        view->resize(780, 900);
        view->show();
    }

    QString pill(PlimboGlobalShortcut shortcut) const {
        return view->shortcutPill(shortcut)->text();
    }

    DashboardHarness harness;
    std::unique_ptr<GeneralSettingsView> view;
};

TEST_F(GeneralSettingsViewTest, NotchSwitchesStoreAndTheVirtualOneFollowsTheFirst) {
    harness.make();
    makeView();
    EXPECT_TRUE(view->notchSwitch()->isOn());
    EXPECT_TRUE(view->virtualNotchSwitch()->isOn());
    EXPECT_TRUE(view->virtualNotchSwitch()->isEnabled());

    clickOn(view->notchSwitch());
    EXPECT_FALSE(harness.model->notchSurfaceEnabled());
    EXPECT_EQ(harness.h.settings->value(QStringLiteral("plimbo.notch.enabled")), QVariant(false));
    EXPECT_FALSE(view->notchSwitch()->isOn());
    // Disabled, still showing its own value.
    EXPECT_FALSE(view->virtualNotchSwitch()->isEnabled());
    EXPECT_TRUE(view->virtualNotchSwitch()->isOn());
    clickOn(view->virtualNotchSwitch());
    EXPECT_TRUE(harness.model->virtualNotchEnabled()) << "a disabled switch does nothing";

    clickOn(view->notchSwitch());
    EXPECT_TRUE(view->virtualNotchSwitch()->isEnabled());
    clickOn(view->virtualNotchSwitch());
    EXPECT_FALSE(harness.model->virtualNotchEnabled());
    EXPECT_EQ(harness.h.settings->value(QStringLiteral("plimbo.notch.virtualEnabled")),
              QVariant(false));
    EXPECT_FALSE(view->virtualNotchSwitch()->isOn());
}

TEST_F(GeneralSettingsViewTest, PillsShowWhichShortcutsRegisteredAndRetryUpdatesThem) {
    // Another application holds the launcher's combination.
    harness.h.hotKeys->refuse(bindingFor(PlimboGlobalShortcut::launcher),
                              HotKeyStatus::takenByAnotherClient);
    harness.make();
    makeView();
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        EXPECT_EQ(pill(shortcut), QStringLiteral("Unavailable")) << "nothing installed yet";
    }
    harness.start();
    EXPECT_EQ(pill(PlimboGlobalShortcut::commandPalette), QStringLiteral("Active"));
    EXPECT_EQ(view->shortcutPill(PlimboGlobalShortcut::commandPalette)->color(),
              PlimboTheme::positive());
    EXPECT_EQ(pill(PlimboGlobalShortcut::launcher), QStringLiteral("Unavailable"));
    EXPECT_EQ(view->shortcutPill(PlimboGlobalShortcut::launcher)->color(), PlimboTheme::warning());
    EXPECT_EQ(pill(PlimboGlobalShortcut::clipboard), QStringLiteral("Active"));
    // The keys in Linux notation; no reason shown while shortcuts can work at all.
    EXPECT_EQ(view->keyLabel(PlimboGlobalShortcut::commandPalette)->text(),
              QStringLiteral("Super+Alt+Space"));
    EXPECT_EQ(view->keyLabel(PlimboGlobalShortcut::launcher)->text(), QStringLiteral("Alt+Space"));
    EXPECT_EQ(view->keyLabel(PlimboGlobalShortcut::clipboard)->text(),
              QStringLiteral("Ctrl+Alt+V"));
    EXPECT_TRUE(view->unavailableReasonLabel()->isHidden());

    // The other application lets go; retrying takes it.
    harness.h.hotKeys->refusals.clear();
    clickOn(view->retryButton());
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        EXPECT_EQ(pill(shortcut), QStringLiteral("Active"));
    }
    // Retrying while all are held keeps them all.
    clickOn(view->retryButton());
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        EXPECT_EQ(pill(shortcut), QStringLiteral("Active"));
    }
    EXPECT_EQ(harness.h.hotKeys->held.size(), 3);
}

TEST_F(GeneralSettingsViewTest, TestButtonsOpenTheirPanelsEvenWhenTheShortcutIsUnavailable) {
    for (PlimboGlobalShortcut shortcut : allGlobalShortcuts()) {
        harness.h.hotKeys->refuse(bindingFor(shortcut), HotKeyStatus::takenByAnotherClient);
    }
    harness.make();
    harness.start();
    makeView();
    EXPECT_EQ(pill(PlimboGlobalShortcut::clipboard), QStringLiteral("Unavailable"));
    clickOn(view->testPaletteButton());
    EXPECT_TRUE(harness.h.surfaces->palette->visible);
    clickOn(view->testLauncherButton());
    EXPECT_TRUE(harness.h.surfaces->launcher->visible);
    clickOn(view->testClipboardButton());
    EXPECT_TRUE(harness.h.surfaces->clipboard->visible);
}

TEST_F(GeneralSettingsViewTest, TheNoteBlamesAnotherOwnerOnlyWhenAGrabWasRefusedForThat) {
    const QString owned = QStringLiteral("already owns");
    // All held: only what the shortcuts do.
    harness.make();
    harness.start();
    makeView();
    EXPECT_EQ(view->shortcutsNoteLabel()->text(),
              QStringLiteral("These shortcuts work globally while Plimbo is running in the tray."));

    // Another client holds the launcher's combination.
    harness.h.hotKeys->refuse(bindingFor(PlimboGlobalShortcut::launcher),
                              HotKeyStatus::takenByAnotherClient);
    clickOn(view->retryButton());
    EXPECT_TRUE(view->shortcutsNoteLabel()->text().contains(owned));

    // No facility at all (a Wayland desktop without the portal): the reason, not an owner.
    harness.h.hotKeys->refusals.clear();
    harness.h.hotKeys->installStatus = HotKeyStatus::noShortcutsFacility;
    harness.h.hotKeys->unavailableReason = QStringLiteral("No XDG desktop portal answers.");
    clickOn(view->retryButton());
    EXPECT_EQ(pill(PlimboGlobalShortcut::launcher), QStringLiteral("Unavailable"));
    EXPECT_FALSE(view->shortcutsNoteLabel()->text().contains(owned))
        << view->shortcutsNoteLabel()->text().toStdString();
    EXPECT_FALSE(view->unavailableReasonLabel()->isHidden());
}

TEST_F(GeneralSettingsViewTest, AShortcutTheDesktopHoldsWithoutKeysSaysSoAndWhereToSetThem) {
    // The desktop answers later, as the portal does.
    harness.h.hotKeys->answersLater = true;
    harness.make();
    harness.start();
    makeView();
    const quint32 clipboard = rawValue(PlimboGlobalShortcut::clipboard);
    harness.h.hotKeys->answer(rawValue(PlimboGlobalShortcut::commandPalette),
                              {HotKeyStatus::success, QStringLiteral("LOGO+ALT+space")});
    harness.h.hotKeys->answer(clipboard, {HotKeyStatus::noKeys, {}});
    EXPECT_EQ(pill(PlimboGlobalShortcut::commandPalette), QStringLiteral("Active"));
    EXPECT_EQ(pill(PlimboGlobalShortcut::clipboard), QStringLiteral("Unavailable"));
    EXPECT_EQ(view->keyLabel(PlimboGlobalShortcut::clipboard)->text(), QStringLiteral("No keys"));
    const QString note = view->shortcutsNoteLabel()->text();
    EXPECT_TRUE(note.contains(QStringLiteral("shortcut settings"))) << note.toStdString();
    EXPECT_FALSE(note.contains(QStringLiteral("already owns")));

    // The user gives it keys on the desktop.
    harness.h.hotKeys->answer(clipboard, {HotKeyStatus::success, QStringLiteral("Meta+V")});
    EXPECT_EQ(pill(PlimboGlobalShortcut::clipboard), QStringLiteral("Active"));
    EXPECT_EQ(view->keyLabel(PlimboGlobalShortcut::clipboard)->text(), QStringLiteral("Super+V"));
    EXPECT_EQ(view->shortcutsNoteLabel()->text(),
              QStringLiteral("These shortcuts work globally while Plimbo is running in the tray."));
}

TEST_F(GeneralSettingsViewTest, DistributionNoteAgreesWithThePermissionsPage) {
    harness.make();
    makeView();
    QStringList notes;
    for (const QLabel* label : view->findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral("Developer ID"))) {
            notes << label->text();
        }
    }
    // The permissions page lists system and network extensions as not needed on Linux.
    EXPECT_EQ(notes, QStringList{PermissionsView::signedBuildNote()});
    EXPECT_TRUE(PermissionsView::signedBuildNote().contains(QStringLiteral("not needed on Linux")));
}

} // namespace
