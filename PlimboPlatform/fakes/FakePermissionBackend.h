#pragma once

#include "PermissionBackend.h"

#include <QList>
#include <QSet>

namespace plimbo {

// Screen-capture answers and settings pages set by the test; records what was asked.
class FakePermissionBackend : public PermissionBackend {
public:
    ScreenCaptureAccess access = ScreenCaptureAccess::unavailable;
    // What access becomes once a request was made.
    ScreenCaptureAccess accessAfterRequest = ScreenCaptureAccess::unavailable;
    QSet<SettingsPage> pages;
    int requests = 0;
    QList<SettingsPage> openedPages;

    ScreenCaptureAccess screenCaptureAccess() override { return access; }
    bool requestScreenCaptureAccess() override;
    bool hasSettingsPage(SettingsPage page) override { return pages.contains(page); }
    bool openSettingsPage(SettingsPage page) override;
};

} // namespace plimbo
