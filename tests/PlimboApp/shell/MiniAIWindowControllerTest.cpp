#include "LocalClickMonitor.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

void pressIn(QWidget* window) {
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
}

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

TEST(MiniAIWindowControllerTest, FrameFollowsTheConversationAndAttachments) {
    ShellHarness shell;
    AppModel& model = shell.start();
    MiniAIWindowController* mini = shell.mini();
    ASSERT_NE(mini, nullptr);

    model.showMiniAI();
    EXPECT_TRUE(mini->isVisible());
    EXPECT_EQ(mini->window()->geometry(),
              PanelPlacement::miniAssistantFrame(available(), false, false));
    EXPECT_TRUE(mini->monitors().isArmed());

    // Sending from an empty conversation grows the panel at once.
    mini->beginConversation();
    EXPECT_EQ(mini->window()->geometry(),
              PanelPlacement::miniAssistantFrame(available(), true, false));
    EXPECT_EQ(mini->window()->height(), 410);

    // Sized while hidden too.
    mini->close();
    EXPECT_FALSE(mini->isVisible());
    mini->setFrame(false);
    EXPECT_EQ(mini->window()->height(), 112);
}

TEST(MiniAIWindowControllerTest, DialogsOfThePanelKeepItOpenOtherWindowsCloseIt) {
    ShellHarness shell;
    AppModel& model = shell.start();
    const int notchMonitors = LocalClickMonitor::installedCount();
    MiniAIWindowController* mini = shell.mini();
    model.showMiniAI();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mini->window()));

    QDialog sheet(mini->window());
    sheet.resize(200, 100);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    EXPECT_TRUE(mini->isOwnedWindow(sheet.windowHandle()));
    pressIn(&sheet);
    EXPECT_TRUE(mini->isVisible());
    sheet.hide();

    model.showAbout();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.about()));
    EXPECT_FALSE(mini->isOwnedWindow(shell.about()->windowHandle()));
    EXPECT_FALSE(mini->isOwnedWindow(nullptr));
    pressIn(shell.about());
    EXPECT_FALSE(mini->isVisible());
    EXPECT_FALSE(mini->monitors().isArmed());
    EXPECT_EQ(LocalClickMonitor::installedCount(), notchMonitors);
}

TEST(MiniAIWindowControllerTest, OpenAllChatsClosesThePanelForTheDashboard) {
    ShellHarness shell;
    AppModel& model = shell.start();
    model.showMiniAI();
    shell.mini()->openAllChats();
    EXPECT_FALSE(shell.mini()->isVisible());
    EXPECT_FALSE(shell.mini()->monitors().isArmed());
    EXPECT_TRUE(shell.dashboard()->isVisible());
    EXPECT_EQ(model.selectedSection(), AppSection::ai);
}

TEST(MiniAIWindowControllerTest, DoesNothingOnceTheModelIsGone) {
    ShellHarness shell;
    shell.start();
    // A controller outliving its model (the model owns it, so only by hand).
    auto orphan = std::make_unique<AppModel>(shell.h.dependencies());
    WidgetSurfaceFactory factory(shell.h.settings);
    auto controller = std::unique_ptr<MiniAIWindowController>(
        static_cast<MiniAIWindowController*>(factory.makeMiniAssistant(*orphan).release()));
    orphan.reset();
    controller->show();
    EXPECT_FALSE(controller->isVisible());
    EXPECT_FALSE(controller->monitors().isArmed());
}
