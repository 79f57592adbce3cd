#include "LinuxPermissionBackend.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace plimbo;

TEST(LinuxPermissionBackendX11, ScreenCaptureWorksOnX11) {
    if (QGuiApplication::platformName() != "xcb" || LinuxPermissionBackend::isWaylandSession()) {
        GTEST_SKIP() << "needs an X11 session";
    }
    LinuxPermissionBackend backend;
    EXPECT_EQ(backend.screenCaptureAccess(), ScreenCaptureAccess::granted);
    EXPECT_TRUE(backend.requestScreenCaptureAccess());
}
