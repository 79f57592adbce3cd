#include "LocalClickMonitor.h"
#include "MiniAIView.h"
#include "ShellHarness.h"
#include "SymbolButton.h"

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

// Every frame a window took after it was installed, for checks that a panel kept its size.
class FrameLog : public QObject {
public:
    explicit FrameLog(QWidget* window)
        : m_window(window) {
        window->installEventFilter(this);
    }
    QList<QRect> frames;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window &&
            (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
            frames.append(m_window->geometry());
        }
        return false;
    }

private:
    QWidget* m_window;
};

} // namespace

TEST(MiniAIWindowControllerTest, FrameFollowsTheConversationAndAttachments) {
    ShellHarness shell;
    AppModel& model = shell.start();
    MiniAIWindowController* mini = shell.mini();
    ASSERT_NE(mini, nullptr);

    model.showMiniAI();
    EXPECT_TRUE(mini->isVisible());
    EXPECT_EQ(mini->window()->geometry(), PanelPlacement::miniAIFrame(available(), false, false));
    EXPECT_TRUE(mini->monitors().isArmed());

    // Sending from an empty conversation grows the panel at once.
    mini->beginConversation();
    EXPECT_EQ(mini->window()->geometry(), PanelPlacement::miniAIFrame(available(), true, false));
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
        static_cast<MiniAIWindowController*>(factory.makeMiniAI(*orphan).release()));
    orphan.reset();
    controller->show();
    EXPECT_FALSE(controller->isVisible());
    EXPECT_FALSE(controller->monitors().isArmed());
}

TEST(MiniAIWindowControllerTest, GrowsWhileAttachmentsArePending) {
    ShellHarness shell;
    AppModel& model = shell.start();
    MiniAIWindowController* mini = shell.mini();
    model.showMiniAI();
    ASSERT_TRUE(model.addAIAttachments({shell.h.sourceFile("a.txt", "a")}));
    ASSERT_TRUE(settle([&] { return !model.isAddingAIAttachments(); }));
    EXPECT_EQ(mini->window()->geometry(), PanelPlacement::miniAIFrame(available(), false, true));
    EXPECT_EQ(mini->window()->height(), 112 + 86);
}

// A question sent from the panel while the history is read waits in its new chat; neither the
// send nor the end of the load resizes the panel.
TEST(MiniAIWindowControllerTest, KeepsItsSizeWhileTheHistoryLoads) {
    ShellHarness shell;
    shell.h.storeKey(QStringLiteral("key"));
    shell.h.writeHistory({makeChat(QStringLiteral("Stored"), shell.h.clock->now(), 3)});
    shell.h.executor->hold();
    AppModel& model = shell.build();
    QFuture<void> started = model.start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    ASSERT_FALSE(model.isAIHistoryLoaded());
    MiniAIWindowController* mini = shell.mini();
    model.showMiniAI();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mini->window()));
    const QRect frame = mini->window()->geometry();
    FrameLog log(mini->window());

    model.setAiInput(QStringLiteral("What is new?"));
    model.sendAI();
    shell.h.executor->release();
    ASSERT_TRUE(settle([&] { return model.isAIHistoryLoaded(); }));
    spin(50);
    EXPECT_TRUE(shell.h.ai->calls.isEmpty());
    EXPECT_TRUE(mini->isVisible());
    EXPECT_EQ(mini->window()->geometry(), frame);
    EXPECT_TRUE(log.frames.isEmpty());
}

// The file dialog is no window of the panel: the panel's dismissal pauses while it is open,
// and resumes only when it was paused and the panel is still up.
TEST(MiniAIWindowControllerTest, TheFileDialogPausesTheOutsideClicks) {
    ShellHarness shell;
    AppModel& model = shell.start();
    MiniAIWindowController* mini = shell.mini();
    auto* view = mini->window()->findChild<MiniAIView*>();
    ASSERT_NE(view, nullptr);
    SymbolButton* attach = view->composer().attach;
    model.showMiniAI();
    ASSERT_TRUE(mini->monitors().isArmed());

    attach->click();
    EXPECT_EQ(shell.h.chooser->requests, 1);
    EXPECT_FALSE(mini->monitors().isArmed());
    ASSERT_TRUE(shell.h.chooser->complete({shell.h.sourceFile("a.txt", "a")}));
    EXPECT_TRUE(mini->monitors().isArmed());
    ASSERT_TRUE(settle([&] { return !model.isAddingAIAttachments(); }));
    EXPECT_EQ(pendingAttachmentNames(model), QStringList{"a.txt"});

    // Cancelled: the same.
    attach->click();
    EXPECT_FALSE(mini->monitors().isArmed());
    ASSERT_TRUE(shell.h.chooser->complete({}));
    EXPECT_TRUE(mini->monitors().isArmed());

    // Hidden while the dialog was open: it stays without a monitor.
    attach->click();
    mini->close();
    ASSERT_TRUE(shell.h.chooser->complete({}));
    EXPECT_FALSE(mini->isVisible());
    EXPECT_FALSE(mini->monitors().isArmed());

    // Not shown when the dialog opened: nothing to pause or resume.
    attach->click();
    model.showMiniAI();
    const LocalClickMonitor* armed = mini->monitors().local();
    ASSERT_TRUE(shell.h.chooser->complete({}));
    EXPECT_EQ(mini->monitors().local(), armed);
}

TEST(MiniAIWindowControllerTest, WithoutAFileDialogTheOutsideClicksStayArmed) {
    ShellHarness shell;
    AppModel& model = shell.start(
        {}, [](AppModelDependencies& dependencies) { dependencies.fileChooser = nullptr; });
    MiniAIWindowController* mini = shell.mini();
    model.showMiniAI();
    const LocalClickMonitor* armed = mini->monitors().local();
    mini->window()->findChild<MiniAIView*>()->composer().attach->click();
    EXPECT_EQ(mini->monitors().local(), armed);
    EXPECT_TRUE(mini->monitors().isArmed());
    EXPECT_FALSE(model.isAddingAIAttachments());
}
