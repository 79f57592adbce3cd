#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

using namespace plimbo;

TEST(X11HotKeyBackendTest, WithoutAnX11ConnectionNothingIsGrabbedAndTheFailureIsReported) {
    X11HotKeyBackend backend(nullptr, nullptr);
    bool called = false;
    EXPECT_EQ(backend.installHandler([&](quint32) {
        called = true;
        return HotKeyBackend::NoError;
    }),
              HotKeyBackend::NoDisplayConnection);
    const auto registration =
        backend.registerHotKey(1, Qt::Key_Space, HotKeyBackend::OptionModifier);
    EXPECT_EQ(registration.status, HotKeyBackend::NoDisplayConnection);
    EXPECT_EQ(registration.ref, 0u);
    EXPECT_FALSE(called);
}

TEST(X11HotKeyBackendTest, OffscreenAndWaylandSessionsHaveNoGrabs) {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        GTEST_SKIP() << "running on X11";
    }
    X11HotKeyBackend backend;
    EXPECT_EQ(backend.installHandler([](quint32) { return HotKeyBackend::NoError; }),
              HotKeyBackend::NoDisplayConnection);
}
