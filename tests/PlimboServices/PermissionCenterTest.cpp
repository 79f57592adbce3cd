#include "PermissionCenter.h"

#include "FakePermissionBackend.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace plimbo;

namespace {

std::shared_ptr<FakePermissionBackend> backendWith(ScreenCaptureAccess access) {
    auto backend = std::make_shared<FakePermissionBackend>();
    backend->access = access;
    return backend;
}

} // namespace

TEST(PermissionCenter, KindsAndStatesKeepTheirNamesAndRawValues) {
    QStringList names;
    for (PermissionKind kind : allPermissionKinds()) {
        names << name(kind);
        EXPECT_EQ(permissionKindFromString(toString(kind)), kind);
    }
    EXPECT_EQ(names, QStringList({"Screen Recording", "Microphone", "Speech Recognition",
                                  "Full Disk Access", "Notifications", "Login Item",
                                  "System Extension", "Network Extension"}));
    EXPECT_EQ(permissionKindFromString("fullDiskAccess"), PermissionKind::fullDiskAccess);
    EXPECT_FALSE(permissionKindFromString("FullDiskAccess"));
    EXPECT_EQ(label(PermissionState::granted), "Granted");
    EXPECT_EQ(label(PermissionState::denied), "Not granted");
    EXPECT_EQ(label(PermissionState::notRequested), "Ask when needed");
    EXPECT_EQ(label(PermissionState::unavailableInAdHoc), "Developer ID required");
    EXPECT_EQ(permissionStateFromString("notRequested"), PermissionState::notRequested);
    EXPECT_FALSE(permissionStateFromString("Granted"));
}

TEST(PermissionCenter, EveryKindHasAStateFromConstruction) {
    PermissionCenter center(backendWith(ScreenCaptureAccess::granted));
    const PermissionStates states = center.states();
    ASSERT_EQ(states.size(), 8);
    EXPECT_EQ(states.value(PermissionKind::screenRecording), PermissionState::granted);
    for (PermissionKind kind : allPermissionKinds()) {
        if (kind != PermissionKind::screenRecording) {
            EXPECT_EQ(states.value(kind), PermissionState::notNeeded)
                << toString(kind).toStdString();
        }
    }
}

TEST(PermissionCenter, ScreenRecordingFollowsTheSession) {
    // Wayland asks at each capture: that is "Ask when needed", never a refusal.
    PermissionCenter wayland(backendWith(ScreenCaptureAccess::askEachTime));
    EXPECT_EQ(wayland.states().value(PermissionKind::screenRecording),
              PermissionState::notRequested);
    PermissionCenter headless(backendWith(ScreenCaptureAccess::unavailable));
    EXPECT_EQ(headless.states().value(PermissionKind::screenRecording), PermissionState::denied);
}

TEST(PermissionCenter, RefreshAnnouncesOnlyRealChanges) {
    auto backend = backendWith(ScreenCaptureAccess::unavailable);
    PermissionCenter center(backend);
    QSignalSpy changed(&center, &PermissionCenter::statesChanged);
    center.refresh();
    EXPECT_EQ(changed.count(), 0);
    backend->access = ScreenCaptureAccess::granted;
    center.refresh();
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(center.states().value(PermissionKind::screenRecording), PermissionState::granted);
}

TEST(PermissionCenter, RequestRefreshesAndAnswers) {
    auto backend = backendWith(ScreenCaptureAccess::unavailable);
    PermissionCenter center(backend);
    EXPECT_FALSE(center.requestScreenRecording());
    EXPECT_EQ(center.states().value(PermissionKind::screenRecording), PermissionState::denied);

    backend->accessAfterRequest = ScreenCaptureAccess::granted;
    EXPECT_TRUE(center.requestScreenRecording());
    EXPECT_EQ(backend->requests, 2);
    EXPECT_EQ(center.states().value(PermissionKind::screenRecording), PermissionState::granted);
}

TEST(PermissionCenter, OpensTheNearestSettingsPageOrReportsThereIsNone) {
    auto backend = backendWith(ScreenCaptureAccess::granted);
    backend->pages = {SettingsPage::notifications, SettingsPage::sound, SettingsPage::privacy};
    PermissionCenter center(backend);

    EXPECT_TRUE(center.openSystemSettings(PermissionKind::notifications));
    EXPECT_TRUE(center.openSystemSettings(PermissionKind::microphone));
    EXPECT_TRUE(center.openSystemSettings(PermissionKind::screenRecording));
    EXPECT_EQ(backend->openedPages,
              QList<SettingsPage>(
                  {SettingsPage::notifications, SettingsPage::sound, SettingsPage::privacy}));
    // This desktop has no autostart page; kinds without a Linux meaning have no page anywhere.
    EXPECT_FALSE(center.hasSystemSettings(PermissionKind::loginItem));
    EXPECT_FALSE(center.openSystemSettings(PermissionKind::loginItem));
    backend->pages << SettingsPage::autostart;
    EXPECT_TRUE(center.hasSystemSettings(PermissionKind::loginItem));
    for (PermissionKind kind :
         {PermissionKind::speechRecognition, PermissionKind::fullDiskAccess,
          PermissionKind::systemExtension, PermissionKind::networkExtension}) {
        EXPECT_FALSE(center.hasSystemSettings(kind));
        EXPECT_FALSE(center.openSystemSettings(kind));
    }
    EXPECT_EQ(backend->openedPages.size(), 3);
}
