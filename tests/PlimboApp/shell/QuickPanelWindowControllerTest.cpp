#include "LocalClickMonitor.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const RunningApplication editor{4242, 77};

void pressIn(QWidget* window) {
    QTest::mousePress(window->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(window->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
}

// Counts the presses a widget receives.
class PressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            ++presses;
        }
        return false;
    }
};

class QuickPanelWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(LocalClickMonitor::installedCount(), 0);
        ASSERT_EQ(GlobalClickMonitor::installedCount(), 0);
        shell.h.windows->frontmost = editor;
        shell.start();
        // The notch keeps its own monitors for the whole run; these tests count the panels'.
        notchLocal = LocalClickMonitor::installedCount();
        notchGlobal = GlobalClickMonitor::installedCount();
    }

    ShellHarness shell;
    int notchLocal = 0;
    int notchGlobal = 0;
};

} // namespace

TEST_F(QuickPanelWindowControllerTest, ShowingOneQuickPanelHidesTheOthersAndTheirMonitors) {
    AppModel& model = *shell.model;
    model.showCommandPalette();
    EXPECT_TRUE(shell.palette()->window()->isVisible());
    EXPECT_TRUE(shell.palette()->monitors().isArmed());

    model.showLauncher();
    EXPECT_FALSE(shell.palette()->window()->isVisible());
    EXPECT_FALSE(shell.palette()->monitors().isArmed());
    EXPECT_TRUE(shell.launcher()->window()->isVisible());
    EXPECT_TRUE(shell.launcher()->monitors().isArmed());

    model.showClipboard();
    EXPECT_FALSE(shell.launcher()->window()->isVisible());
    EXPECT_FALSE(shell.launcher()->monitors().isArmed());
    EXPECT_TRUE(shell.clipboard()->window()->isVisible());
    EXPECT_EQ(LocalClickMonitor::installedCount(), notchLocal + 1);
    // The application in front before the first panel is still the one remembered.
    EXPECT_EQ(model.globalSurfaceFocus().originatingApplication(), editor);
}

TEST_F(QuickPanelWindowControllerTest, ShowingAPanelTwiceKeepsOneMonitorPair) {
    shell.model->showLauncher();
    shell.model->showLauncher();
    EXPECT_EQ(LocalClickMonitor::installedCount(), notchLocal + 1);
    EXPECT_EQ(GlobalClickMonitor::installedCount(), notchGlobal + 1);
    // Controllers going away take their monitors with them, the notch's too.
    shell.model.reset();
    EXPECT_EQ(LocalClickMonitor::installedCount(), 0);
    EXPECT_EQ(GlobalClickMonitor::installedCount(), 0);
}

TEST_F(QuickPanelWindowControllerTest, ClickInAnotherWindowDismissesAndForgetsButStillLands) {
    AppModel& model = *shell.model;
    model.showDashboard(AppSection::overview);
    QWidget* dashboard = shell.dashboard();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dashboard));
    PressCounter counter;
    dashboard->window()->windowHandle()->installEventFilter(&counter);

    model.showLauncher();
    ASSERT_TRUE(shell.launcher()->window()->isVisible());
    pressIn(dashboard);
    EXPECT_FALSE(shell.launcher()->window()->isVisible());
    EXPECT_FALSE(shell.launcher()->monitors().isArmed());
    EXPECT_EQ(LocalClickMonitor::installedCount(), notchLocal);
    EXPECT_FALSE(model.globalSurfaceFocus().originatingApplication().has_value());
    EXPECT_TRUE(shell.h.windows->activated.isEmpty());
    EXPECT_EQ(counter.presses, 1);
}

TEST_F(QuickPanelWindowControllerTest, ClickInsideThePanelKeepsItOpen) {
    shell.model->showClipboard();
    FloatingPanel* panel = shell.clipboard()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
    pressIn(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(shell.clipboard()->monitors().isArmed());
    EXPECT_TRUE(shell.model->globalSurfaceFocus().originatingApplication().has_value());
}

TEST_F(QuickPanelWindowControllerTest, EscapeDismissesAndHandsTheFocusBack) {
    shell.model->showClipboard();
    FloatingPanel* panel = shell.clipboard()->window();
    QTest::keyClick(panel->content(), Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(shell.clipboard()->monitors().isArmed());
    EXPECT_EQ(shell.h.windows->activated, QList<RunningApplication>{editor});
    EXPECT_FALSE(shell.model->globalSurfaceFocus().originatingApplication().has_value());

    // Nothing remembered: the next dismissal hands nothing back.
    shell.h.windows->frontmost = RunningApplication{1, 5}; // this application itself
    shell.model->showCommandPalette();
    QTest::keyClick(shell.palette()->window()->content(), Qt::Key_Escape);
    EXPECT_EQ(shell.h.windows->activated.size(), 1);
}

TEST_F(QuickPanelWindowControllerTest, LaunchingAnApplicationForgetsTheOneBefore) {
    shell.model->showLauncher();
    shell.launcher()->openApplication(ApplicationRecord(
        QStringLiteral("Files"),
        QUrl::fromLocalFile(QStringLiteral("/usr/share/applications/files.desktop"))));
    EXPECT_FALSE(shell.launcher()->window()->isVisible());
    EXPECT_FALSE(shell.launcher()->monitors().isArmed());
    EXPECT_FALSE(shell.model->globalSurfaceFocus().originatingApplication().has_value());
    EXPECT_TRUE(shell.h.windows->activated.isEmpty());
    EXPECT_EQ(shell.h.folders->launchedPaths(),
              QStringList{QStringLiteral("/usr/share/applications/files.desktop")});
}

TEST_F(QuickPanelWindowControllerTest, LosingTheActivationDismissesOnTheNextTurn) {
    shell.model->showCommandPalette();
    // Stands in for the platform's notice that another application took the activation.
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_TRUE(shell.palette()->window()->isVisible());
    EXPECT_TRUE(settle([&] { return !shell.palette()->window()->isVisible(); }));
    EXPECT_FALSE(shell.palette()->monitors().isArmed());
    EXPECT_FALSE(shell.model->globalSurfaceFocus().originatingApplication().has_value());
    EXPECT_TRUE(shell.h.windows->activated.isEmpty());
}

TEST_F(QuickPanelWindowControllerTest, PanelsHangBelowTheTopOfTheScreen) {
    shell.model->showCommandPalette();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(shell.palette()->window()->pos(),
              PanelPlacement::topCentred(available, QSize(720, 520), 96));
    shell.model->showLauncher();
    EXPECT_EQ(shell.launcher()->window()->pos(),
              PanelPlacement::topCentred(available, QSize(640, 520), 92));
}
