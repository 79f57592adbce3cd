#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// Runs on a laptop (the primary screen) with a larger monitor to its right
// (screens/two-screens.json): every floating surface opens on the screen holding the pointer.
class TwoScreenPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QList<QScreen*> screens = QGuiApplication::screens();
        ASSERT_EQ(screens.size(), 2) << "needs the two-screen configuration";
        laptop = QGuiApplication::primaryScreen();
        monitor = screens.at(0) == laptop ? screens.at(1) : screens.at(0);
        ASSERT_EQ(monitor->geometry(), QRect(1366, 0, 1920, 1080));
        shell.start();
    }

    // The screen whose area holds the surface's whole frame; null when none does.
    static QScreen* screenHolding(const QWidget* window) {
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen->availableGeometry().contains(window->geometry())) {
                return screen;
            }
        }
        return nullptr;
    }

    // Opens each floating surface with the pointer on `screen` and says where it went.
    void expectEverySurfaceOn(QScreen* screen) {
        QCursor::setPos(screen->geometry().center());
        AppModel& model = *shell.model;
        const struct {
            const char* name;
            std::function<void()> open;
            QWidget* window;
        } surfaces[] = {
            {"palette", [&] { model.showCommandPalette(); }, shell.palette()->window()},
            {"launcher", [&] { model.showLauncher(); }, shell.launcher()->window()},
            {"clipboard", [&] { model.showClipboard(); }, shell.clipboard()->window()},
            {"mini assistant", [&] { model.showMiniAI(); }, shell.mini()->window()},
        };
        for (const auto& surface : surfaces) {
            surface.open();
            QWidget* window = surface.window;
            ASSERT_TRUE(settle([&] { return window->isVisible(); })) << surface.name;
            EXPECT_EQ(screenHolding(window), screen)
                << surface.name << " at " << window->x() << "," << window->y()
                << " with the pointer on " << screen->name().toStdString();
            window->hide();
        }
    }

    ShellHarness shell;
    QScreen* laptop = nullptr;
    QScreen* monitor = nullptr;
};

} // namespace

TEST_F(TwoScreenPlacementTest, SurfacesOpenOnTheScreenHoldingThePointer) {
    expectEverySurfaceOn(monitor);
    expectEverySurfaceOn(laptop);
    // Back on the second screen: nothing remembers the last one.
    expectEverySurfaceOn(monitor);
}
