#include "NotchWindowController.h"
#include "PlimboNotchPanel.h"
#include "ShellHarness.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

using namespace plimbo;
using namespace plimbo::test;

namespace {

constexpr Qt::WindowFlags panelFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

bool hasPanelFlags(const QWidget* window) {
    return window && (window->windowFlags() & panelFlags) == panelFlags;
}

QList<QWidget*> visibleTopLevels() {
    QList<QWidget*> visible;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            visible.append(widget);
        }
    }
    return visible;
}

} // namespace

TEST(WidgetSurfaceFactoryTest, StartBuildsEveryWindowOnceAndShowsOnlyTheNotchWithoutSwitches) {
    const qsizetype before = QApplication::topLevelWidgets().size();
    ShellHarness shell;
    AppModel& model = shell.start();

    ASSERT_NE(shell.palette(), nullptr);
    ASSERT_NE(shell.launcher(), nullptr);
    ASSERT_NE(shell.clipboard(), nullptr);
    ASSERT_NE(shell.mini(), nullptr);
    ASSERT_NE(shell.dashboard(), nullptr);
    ASSERT_NE(shell.settings(), nullptr);
    ASSERT_NE(shell.about(), nullptr);
    EXPECT_EQ(model.menuPreviewController(), nullptr);
    auto* notch = dynamic_cast<NotchWindowController*>(model.notchController());
    ASSERT_NE(notch, nullptr);
    const qsizetype built = QApplication::topLevelWidgets().size() - before;
    EXPECT_EQ(built, 8);
    // Both notch switches default to on and a Linux screen has no housing: the drawn notch
    // is the one window a plain start shows.
    EXPECT_EQ(visibleTopLevels(), QList<QWidget*>{&notch->panel()});
    EXPECT_TRUE(hasPanelFlags(&notch->panel()));

    model.setNotchSurfaceEnabled(false);
    EXPECT_TRUE(visibleTopLevels().isEmpty());

    QFuture<void> again = model.start();
    EXPECT_TRUE(again.isFinished());
    spin();
    EXPECT_EQ(QApplication::topLevelWidgets().size() - before, built);
}

TEST(WidgetSurfaceFactoryTest, WindowsHaveTheirTitlesSizesAndKinds) {
    ShellHarness shell;
    shell.start();

    QWidget* dashboard = shell.dashboard();
    EXPECT_EQ(dashboard->windowTitle(), QStringLiteral("Plimbo"));
    EXPECT_EQ(dashboard->size(), QSize(1060, 720));
    EXPECT_EQ(dashboard->minimumSize(), QSize(820, 600));
    EXPECT_FALSE(dashboard->testAttribute(Qt::WA_DeleteOnClose));

    QWidget* settings = shell.settings();
    EXPECT_EQ(settings->windowTitle(), QStringLiteral("Plimbo Settings"));
    EXPECT_EQ(settings->size(), QSize(820, 620));
    EXPECT_EQ(settings->minimumSize(), QSize(760, 560));

    QWidget* about = shell.about();
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Plimbo"));
    EXPECT_EQ(about->size(), QSize(820, 630));
    EXPECT_EQ(about->minimumSize(), about->maximumSize());
    EXPECT_TRUE(about->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(about->windowFlags() & Qt::WindowMinimizeButtonHint);

    FloatingPanel* palette = shell.palette()->window();
    EXPECT_TRUE(hasPanelFlags(palette));
    // Its own name in window lists and task switchers; the panel draws no title bar.
    EXPECT_EQ(palette->windowTitle(), QStringLiteral("Plimbo Command Palette"));
    EXPECT_EQ(palette->size(), QSize(720, 520));
    EXPECT_TRUE(palette->testAttribute(Qt::WA_TranslucentBackground));

    FloatingPanel* launcher = shell.launcher()->window();
    EXPECT_TRUE(hasPanelFlags(launcher));
    EXPECT_EQ(launcher->windowTitle(), QStringLiteral("Plimbo Launcher"));
    EXPECT_EQ(launcher->size(), QSize(640, 520));

    FloatingPanel* clipboard = shell.clipboard()->window();
    EXPECT_TRUE(hasPanelFlags(clipboard));
    EXPECT_EQ(clipboard->windowTitle(), QStringLiteral("Plimbo Clipboard"));
    EXPECT_EQ(clipboard->size(), QSize(640, 500));

    PlimboNotchPanel* mini = shell.mini()->window();
    EXPECT_TRUE(hasPanelFlags(mini));
    EXPECT_TRUE(mini->windowFlags() & Qt::NoDropShadowWindowHint);
    EXPECT_EQ(mini->windowTitle(), QStringLiteral("Plimbo AI"));
    EXPECT_EQ(mini->size(), QSize(420, 112));
}

TEST(WidgetSurfaceFactoryTest, MenuPreviewOpensAFixedWindowInFront) {
    ShellHarness shell;
    shell.start({QStringLiteral("--show-menu-preview")});
    QWidget* preview = shell.menuPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->windowTitle(), QStringLiteral("Plimbo Menu Preview"));
    EXPECT_EQ(preview->size(), QSize(372, 500));
    EXPECT_EQ(preview->minimumSize(), preview->maximumSize());
    EXPECT_EQ(visibleTopLevels(), QList<QWidget*>{preview});
}

TEST(WidgetSurfaceFactoryTest, OnlyTheFirstPreviewSwitchOpensItsWindow) {
    struct Case {
        QStringList switches;
        std::function<QWidget*(const ShellHarness&)> expected;
    };
    const QList<Case> cases{
        {{QStringLiteral("--show-notch-preview"), QStringLiteral("--show-menu-preview")},
         [](const ShellHarness& s) {
             return s.menuPreview();
         }},
        {{QStringLiteral("--show-about"), QStringLiteral("--show-settings-preview")},
         [](const ShellHarness& s) {
             return s.settings();
         }},
        {{QStringLiteral("--show-about")},
         [](const ShellHarness& s) {
             return s.about();
         }},
        {{QStringLiteral("--show-clipboard-preview"), QStringLiteral("--show-launcher-preview")},
         [](const ShellHarness& s) {
             return static_cast<QWidget*>(s.launcher()->window());
         }},
        {{QStringLiteral("--show-settings-preview"), QStringLiteral("--show-clipboard-preview")},
         [](const ShellHarness& s) {
             return static_cast<QWidget*>(s.clipboard()->window());
         }},
        {{QStringLiteral("--show-ai-chat-preview"), QStringLiteral("--show-about")},
         [](const ShellHarness& s) {
             return s.dashboard();
         }},
        {{QStringLiteral("--show-menu-preview"), QStringLiteral("--show-mini-ai-preview")},
         [](const ShellHarness& s) {
             return static_cast<QWidget*>(s.mini()->window());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.switches.join(QLatin1Char(' ')).toStdString());
        ShellHarness shell;
        shell.start(c.switches);
        QWidget* expected = c.expected(shell);
        ASSERT_NE(expected, nullptr);
        // The launcher and clipboard previews open on the next turn of the event loop.
        EXPECT_TRUE(settle([&] { return expected->isVisible(); }));
        EXPECT_EQ(visibleTopLevels(), QList<QWidget*>{expected});
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            widget->hide();
        }
    }
}

TEST(WidgetSurfaceFactoryTest, MiniAIPreviewBuildsNothingElse) {
    ShellHarness shell;
    AppModel& model = shell.start({QStringLiteral("--show-mini-ai-chat-preview")});
    EXPECT_EQ(model.paletteController(), nullptr);
    EXPECT_EQ(model.dashboardController(), nullptr);
    ASSERT_NE(shell.mini(), nullptr);
    // A sample turn and a pending attachment: the tallest frame.
    EXPECT_TRUE(shell.mini()->isVisible());
    EXPECT_EQ(shell.mini()->window()->size(), QSize(420, 496));
    EXPECT_TRUE(shell.mini()->monitors().isArmed());
}

TEST(WidgetSurfaceFactoryTest, ShownWindowsComeToTheFrontCentredAndStayAfterClosing) {
    ShellHarness shell;
    AppModel& model = shell.start();
    model.showAbout();
    QWidget* about = shell.about();
    ASSERT_TRUE(about->isVisible());
    const QRect available = about->screen()->availableGeometry();
    // Centred across; the notch shown at start hangs over the top edge, so the window (taller
    // than this screen) goes below its strip rather than under it.
    auto* notch = dynamic_cast<NotchWindowController*>(model.notchController());
    ASSERT_NE(notch, nullptr);
    const std::optional<QRect> strip = notch->compactStrip();
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(about->x(), PanelPlacement::centred(available, about->size()).x());
    EXPECT_GT(about->y(), strip->bottom());
    model.showAbout();
    EXPECT_EQ(about->x(), PanelPlacement::centred(available, about->frameGeometry().size()).x());
    EXPECT_FALSE(about->frameGeometry().intersects(*strip));
    // With the notch hidden the whole frame is centred again.
    notch->hide();
    model.showAbout();
    EXPECT_EQ(about->pos(), PanelPlacement::centred(available, about->frameGeometry().size()));

    // Closing only hides: the same window comes back.
    EXPECT_TRUE(about->close());
    EXPECT_FALSE(about->isVisible());
    model.showAbout();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(shell.about(), about);

    model.setSelectedSection(AppSection::ai);
    model.showDashboard(AppSection::overview);
    EXPECT_TRUE(shell.dashboard()->isVisible());
    EXPECT_EQ(model.selectedSection(), AppSection::overview);
}
