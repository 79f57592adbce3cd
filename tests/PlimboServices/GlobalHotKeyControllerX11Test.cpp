#include "GlobalHotKeyController.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QProcess>
#include <QTest>

using namespace plimbo;

namespace {

bool pressKeys(const QString& keys) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {QStringLiteral("key"), keys});
    return xdotool.waitForFinished(5000) && xdotool.exitCode() == 0;
}

} // namespace

// The three application shortcuts on a real X server, end to end.
TEST(GlobalHotKeyControllerX11Test, TheApplicationShortcutsRunTheirActions) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server (DISPLAY)";
    }
    QStringList ran;
    {
        GlobalHotKeyController controller;
        ASSERT_EQ(controller.handlerStatus(), HotKeyStatus::success);
        ASSERT_EQ(controller.registerHotKey(
                      1, QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space),
                      [&] { ran << "palette"; }),
                  HotKeyStatus::success);
        ASSERT_EQ(controller.registerHotKey(2, QKeyCombination(Qt::AltModifier, Qt::Key_Space),
                                            [&] { ran << "launcher"; }),
                  HotKeyStatus::success);
        ASSERT_EQ(controller.registerHotKey(
                      3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V),
                      [&] { ran << "clipboard"; }),
                  HotKeyStatus::success);

        ASSERT_TRUE(pressKeys(QStringLiteral("ctrl+alt+v")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 1; }, 3000));
        ASSERT_TRUE(pressKeys(QStringLiteral("super+alt+space")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 2; }, 3000));
        EXPECT_EQ(ran, (QStringList{"clipboard", "palette"}));
    }
    // Released with the controller.
    ASSERT_TRUE(pressKeys(QStringLiteral("alt+space")));
    QTest::qWait(300);
    EXPECT_EQ(ran.size(), 2);
}
