#include "NotchWindowController.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// Runs on one 1366 x 768 screen (screens/laptop-screen.json).
class ScreenPlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1366, 768))
            << "needs the small-screen configuration";
        laptop = QGuiApplication::primaryScreen();
    }

    ShellHarness shell;
    QScreen* laptop = nullptr;
};

} // namespace

TEST_F(ScreenPlacementTest, CentredWindowsStayClearOfTheNotchStripOnASmallScreen) {
    QCursor::setPos(laptop->geometry().center());
    AppModel& model = shell.start();
    auto* notch = dynamic_cast<NotchWindowController*>(model.notchController());
    ASSERT_NE(notch, nullptr);
    const std::optional<QRect> strip = notch->compactStrip();
    ASSERT_TRUE(strip.has_value()) << "the notch is shown after start";

    for (int showing = 0; showing < 2; ++showing) {
        model.showDashboard(AppSection::overview);
        QWidget* dashboard = shell.dashboard();
        ASSERT_TRUE(dashboard->isVisible());
        const QRect frame = dashboard->frameGeometry();
        EXPECT_FALSE(frame.intersects(*strip)) << frame.y() << " under " << strip->bottom();
        EXPECT_TRUE(laptop->availableGeometry().contains(frame))
            << frame.y() << "+" << frame.height();
        // Before the first showing the frame's border is not known yet.
        EXPECT_NEAR(frame.center().x(), laptop->availableGeometry().center().x(), 3);
    }

    // With the notch hidden, windows are centred on the whole screen again.
    notch->hide();
    model.openSettings(SettingsSection::general);
    QWidget* settings = shell.settings();
    ASSERT_TRUE(settings->isVisible());
    EXPECT_EQ(settings->pos(),
              PanelPlacement::centred(laptop->availableGeometry(), settings->size()));
}
