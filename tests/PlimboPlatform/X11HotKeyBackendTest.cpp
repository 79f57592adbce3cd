#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

using namespace plimbo;

TEST(X11HotKeyBackendTest, WithoutAnX11ConnectionNothingIsGrabbedAndTheFailureIsReported) {
    X11HotKeyBackend backend(nullptr, nullptr);
    bool called = false;
    EXPECT_EQ(backend.installHandler([&](quint32) {
        called = true;
        return true;
    }),
              HotKeyStatus::noDisplayConnection);
    const auto registration =
        backend.registerHotKey(1, QKeyCombination(Qt::AltModifier, Qt::Key_Space));
    EXPECT_EQ(registration.status, HotKeyStatus::noDisplayConnection);
    EXPECT_EQ(registration.ref, 0u);
    EXPECT_FALSE(called);
}

TEST(X11HotKeyBackendTest, OffscreenAndWaylandSessionsHaveNoGrabs) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        GTEST_SKIP() << "running on X11";
    }
    X11HotKeyBackend backend;
    EXPECT_EQ(backend.installHandler([](quint32) { return true; }),
              HotKeyStatus::noDisplayConnection);
}
