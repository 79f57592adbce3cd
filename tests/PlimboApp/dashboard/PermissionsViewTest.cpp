#include "PermissionsView.h"
#include "DashboardHarness.h"

#include <gtest/gtest.h>

#include <QPushButton>

using namespace plimbo;
using namespace plimbo::test;

namespace {

using Action = PermissionsView::Action;

class PermissionsViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        // This desktop has a sound and a notifications page, nothing else.
        harness.permissionBackend->pages = {SettingsPage::sound, SettingsPage::notifications};
        harness.make();
        view = std::make_unique<PermissionsView>(harness.model->permissions(),
                                                 harness.model->errors());
        view->resize(800, 700);
        view->show();
    }

    DashboardHarness harness;
    std::unique_ptr<PermissionsView> view;
};

TEST_F(PermissionsViewTest, RowsShowTheLinuxStatesAndOnlyActionsThatExistHere) {
    EXPECT_EQ(view->stateText(PermissionKind::screenRecording), QStringLiteral("Not granted"));
    EXPECT_EQ(view->action(PermissionKind::screenRecording), Action::request);
    for (PermissionKind kind : allPermissionKinds()) {
        if (kind == PermissionKind::screenRecording) {
            continue;
        }
        EXPECT_EQ(view->stateText(kind), QStringLiteral("Not needed on Linux"))
            << toString(kind).toStdString();
    }
    EXPECT_EQ(view->action(PermissionKind::microphone), Action::openSettings);
    EXPECT_EQ(view->action(PermissionKind::notifications), Action::openSettings);
    // No page for these on this desktop: no button that would lead nowhere.
    for (PermissionKind kind : {PermissionKind::speechRecognition, PermissionKind::fullDiskAccess,
                                PermissionKind::loginItem, PermissionKind::systemExtension,
                                PermissionKind::networkExtension}) {
        EXPECT_EQ(view->action(kind), Action::none) << toString(kind).toStdString();
        EXPECT_EQ(view->actionButton(kind), nullptr);
    }
}

TEST_F(PermissionsViewTest, OpenSettingsOpensTheDesktopPageForTheKind) {
    clickOn(view->actionButton(PermissionKind::microphone));
    clickOn(view->actionButton(PermissionKind::notifications));
    EXPECT_EQ(harness.permissionBackend->openedPages,
              (QList<SettingsPage>{SettingsPage::sound, SettingsPage::notifications}));
}

TEST_F(PermissionsViewTest, RequestAsksAndTheRowFollowsTheAnswer) {
    harness.permissionBackend->accessAfterRequest = ScreenCaptureAccess::granted;
    harness.permissionBackend->pages.insert(SettingsPage::privacy);
    clickOn(view->actionButton(PermissionKind::screenRecording));
    EXPECT_EQ(harness.permissionBackend->requests, 1);
    EXPECT_EQ(view->stateText(PermissionKind::screenRecording), QStringLiteral("Granted"));
    EXPECT_EQ(view->action(PermissionKind::screenRecording), Action::openSettings);
}

TEST_F(PermissionsViewTest, AChangeShowsOnlyAfterRefresh) {
    harness.permissionBackend->access = ScreenCaptureAccess::askEachTime;
    spin();
    EXPECT_EQ(view->stateText(PermissionKind::screenRecording), QStringLiteral("Not granted"));
    clickOn(view->refreshButton());
    EXPECT_EQ(view->stateText(PermissionKind::screenRecording), QStringLiteral("Ask when needed"));
    EXPECT_EQ(view->action(PermissionKind::screenRecording), Action::request);
    EXPECT_EQ(harness.permissionBackend->requests, 0) << "refreshing never asks";
}

} // namespace
