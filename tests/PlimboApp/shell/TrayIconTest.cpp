#include "TrayIcon.h"
#include "AppModelHarness.h"
#include "KeepAwakeService.h"
#include "MenuBarContentView.h"
#include "MenuPrimaryAction.h"
#include "MenuQuickAction.h"
#include "MenuUtilityAction.h"
#include "ShellViews.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// The tray item as the application builds it.
std::unique_ptr<TrayIcon> trayFor(AppModel& model) {
    return std::make_unique<TrayIcon>(model.keepAwake(), [&model](std::function<void()> closeMenu) {
        return ShellViews::menuBarContent(model, std::move(closeMenu));
    });
}

} // namespace

TEST(TrayIconTest, LabelFollowsKeepAwake) {
    AppModelHarness h;
    auto model = h.makeModel();
    auto tray = trayFor(*model);
    TrayIcon& extra = *tray;
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo"));
    EXPECT_FALSE(extra.trayIcon().icon().isNull());

    model->keepAwake().toggle();
    ASSERT_TRUE(model->keepAwake().isKeepingAwake());
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo, keeping this computer awake"));
    model->keepAwake().toggle();
    EXPECT_EQ(extra.trayIcon().toolTip(), QStringLiteral("Plimbo"));
}

TEST(TrayIconTest, IconClickTogglesTheMenuPanelOnScreen) {
    AppModelHarness h;
    auto model = h.makeModel();
    auto tray = trayFor(*model);
    TrayIcon& extra = *tray;
    QWidget* panel = extra.window();
    EXPECT_FALSE(panel->isVisible());

    extra.toggleWindow();
    ASSERT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->width(), 372);
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::Popup));
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(available.contains(panel->geometry())) << panel->geometry().x();

    extra.toggleWindow();
    EXPECT_FALSE(panel->isVisible());
    // The click on the icon that closed the panel does not open it again at once.
    extra.toggleWindow();
    EXPECT_FALSE(panel->isVisible());
    spin(300);
    extra.toggleWindow();
    EXPECT_TRUE(panel->isVisible());
}

namespace {

// Writes "menu.hidden" into the surfaces' log when the popup goes, so the order of the popup's
// closing and the next surface's showing can be read from one list.
class HideLogger : public QObject {
public:
    HideLogger(QWidget& popup, SurfaceLog log)
        : m_log(std::move(log)) {
        popup.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            m_log->append(QStringLiteral("menu.hidden"));
        }
        return false;
    }

private:
    SurfaceLog m_log;
};

} // namespace

TEST(TrayIconTest, ActionsThatOpenASurfaceCloseTheMenuBeforeItShows) {
    AppModelHarness h;
    auto model = h.makeModel();
    QFuture<void> started = model->start();
    ASSERT_TRUE(settle([&] { return started.isFinished(); }));
    auto tray = trayFor(*model);
    TrayIcon& extra = *tray;
    auto* content = extra.window()->findChild<MenuBarContentView*>();
    ASSERT_NE(content, nullptr);
    HideLogger logger(*extra.window(), h.surfaces->log);

    const auto clickWithMenuOpen = [&](QAbstractButton* button) {
        spin(300);
        extra.toggleWindow();
        EXPECT_TRUE(extra.window()->isVisible());
        h.surfaces->log->clear();
        QTest::mouseClick(button, Qt::LeftButton);
    };

    clickWithMenuOpen(content->commandTile());
    EXPECT_FALSE(extra.window()->isVisible());
    ASSERT_TRUE(settle([&] { return h.surfaces->log->contains(QStringLiteral("palette.show")); }));
    EXPECT_EQ(h.surfaces->log->first(), QStringLiteral("menu.hidden"));

    clickWithMenuOpen(content->assistantTile());
    EXPECT_FALSE(extra.window()->isVisible());
    ASSERT_TRUE(settle([&] { return h.surfaces->log->contains(QStringLiteral("mini.show")); }));
    EXPECT_EQ(h.surfaces->log->first(), QStringLiteral("menu.hidden"));

    for (QAbstractButton* opener : std::initializer_list<QAbstractButton*>{
             content->openAction(), content->settingsAction(), content->aboutAction()}) {
        clickWithMenuOpen(opener);
        EXPECT_FALSE(extra.window()->isVisible());
        ASSERT_TRUE(settle([&] { return h.surfaces->log->size() >= 2; }));
        EXPECT_EQ(h.surfaces->log->first(), QStringLiteral("menu.hidden"));
        EXPECT_TRUE(h.surfaces->log->last().endsWith(QStringLiteral(".front")))
            << h.surfaces->log->join(' ').toStdString();
    }

    // Keep-awake opens nothing: the menu stays open and shows the new state.
    clickWithMenuOpen(content->keepAwakeTile());
    EXPECT_TRUE(extra.window()->isVisible());
    EXPECT_TRUE(model->keepAwake().isKeepingAwake());
}
