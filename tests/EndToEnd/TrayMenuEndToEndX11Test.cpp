#include "FakeOpenRouterServer.h"
#include "RunningPlimbo.h"
#include "RunningWindowManager.h"
#include "ScreenWindows.h"
#include "XDoTool.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>

using namespace plimbo::test;

namespace {

// A desktop screen saver that refuses every inhibition, so keep-awake fails even where the X
// server's own screen saver could be held instead.
class RefusingScreenSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public slots:
    uint Inhibit(const QString&, const QString&) {
        sendErrorReply(QDBusError::AccessDenied, QStringLiteral("Inhibiting is not allowed here."));
        return 0;
    }
    void UnInhibit(uint) {}
};

const QString screenSaverName = QStringLiteral("org.freedesktop.ScreenSaver");

const QString menuName = QStringLiteral("Plimbo Menu");
const QString paletteName = QStringLiteral("Plimbo Command Palette");
const QString miniAIName = QStringLiteral("Plimbo AI");
const QString alertName = QStringLiteral("Plimbo needs attention");

// The middle of the menu's three-tile row, from the menu's top-left corner: below the header,
// the system card and the "Open Plimbo" row; the tiles split the 372-wide panel in three.
constexpr int tileRowMiddle = 305;
QPoint commandTile(const QRect& menu) {
    return menu.topLeft() + QPoint(68, tileRowMiddle);
}
QPoint assistantTile(const QRect& menu) {
    return menu.topLeft() + QPoint(186, tileRowMiddle);
}

// The program under openbox with a real tray (trayer) on the screen's bottom edge, as a
// desktop has them: the tray menu is a popup that holds the pointer and keyboard until it
// closes.
class TrayMenuEndToEndX11Test : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"openbox", "trayer"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
                GTEST_SKIP() << "needs " << program;
            }
        }
        windowManager = std::make_unique<RunningWindowManager>();
        ASSERT_TRUE(windowManager->start()) << windowManager->output().toStdString();
        tray.start(QStringLiteral("trayer"),
                   {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                    QStringLiteral("left"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                    QStringLiteral("--width"), QStringLiteral("60"), QStringLiteral("--height"),
                    QStringLiteral("26")});
        ASSERT_TRUE(tray.waitForStarted(5000));
        app = std::make_unique<RunningPlimbo>(server.baseUrl());
        ASSERT_TRUE(app->start()) << app->output().toStdString();
    }

    void TearDown() override {
        if (app) {
            EXPECT_TRUE(app->isRunning()) << app->output().toStdString();
            app.reset();
        }
        if (tray.state() != QProcess::NotRunning) {
            tray.terminate();
            if (!tray.waitForFinished(3000)) {
                tray.kill();
                tray.waitForFinished(3000);
            }
        }
        windowManager.reset();
    }

    // Clicks the tray icon until the menu is up (the icon is embedded a moment after start).
    std::optional<QRect> openMenu() {
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QList<QRect> trays = trayFrames();
            if (!trays.isEmpty()) {
                XDoTool::click(QPoint(trays.first().left() + 12, trays.first().center().y()));
                if (QTest::qWaitFor([] { return !XDoTool::visibleWindows(menuName).isEmpty(); },
                                    1000)) {
                    return XDoTool::visibleWindows(menuName).first();
                }
            }
            QTest::qWait(250);
        }
        return std::nullopt;
    }

    static QList<QRect> trayFrames() {
        QString ids;
        XDoTool::run({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--class"), QStringLiteral("trayer")},
                     &ids);
        QList<QRect> frames;
        for (const QString& id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (const std::optional<QRect> frame = ScreenWindows::frame(id.toULongLong())) {
                frames.append(*frame);
            }
        }
        return frames;
    }

    static bool focusMovesTo(const QString& name, int timeoutMs = 5000) {
        return QTest::qWaitFor([&] { return XDoTool::focusedWindowName() == name; }, timeoutMs);
    }

    FakeOpenRouterServer server;
    std::unique_ptr<RunningWindowManager> windowManager;
    QProcess tray;
    std::unique_ptr<RunningPlimbo> app;
};

} // namespace

TEST_F(TrayMenuEndToEndX11Test, TheCommandTileClosesTheMenuAndThePaletteKeepsTheKeyboard) {
    const std::optional<QRect> menu = openMenu();
    ASSERT_TRUE(menu.has_value()) << app->output().toStdString();

    ASSERT_TRUE(XDoTool::click(commandTile(*menu)));
    ASSERT_TRUE(focusMovesTo(paletteName)) << XDoTool::focusedWindowName()->toStdString();
    EXPECT_TRUE(XDoTool::visibleWindows(menuName).isEmpty());
    // The menu's closing does not take the palette away a moment later.
    QTest::qWait(1500);
    EXPECT_EQ(XDoTool::focusedWindowName(), paletteName);
    ASSERT_EQ(XDoTool::visibleWindows(paletteName).size(), 1);

    // Keys reach the palette: Escape closes it.
    ASSERT_TRUE(XDoTool::key(QStringLiteral("Escape")));
    EXPECT_TRUE(
        QTest::qWaitFor([] { return XDoTool::visibleWindows(paletteName).isEmpty(); }, 5000));
}

TEST_F(TrayMenuEndToEndX11Test, TheAssistantTileClosesTheMenuAndAClickIntoTheAssistantKeepsIt) {
    const std::optional<QRect> menu = openMenu();
    ASSERT_TRUE(menu.has_value()) << app->output().toStdString();

    ASSERT_TRUE(XDoTool::click(assistantTile(*menu)));
    ASSERT_TRUE(focusMovesTo(miniAIName)) << XDoTool::focusedWindowName()->toStdString();
    EXPECT_TRUE(XDoTool::visibleWindows(menuName).isEmpty());

    // The next click lands in the assistant and does not close it.
    const QList<QRect> panels = XDoTool::visibleWindows(miniAIName);
    ASSERT_EQ(panels.size(), 1);
    ASSERT_TRUE(XDoTool::click(panels.first().center()));
    QTest::qWait(500);
    EXPECT_EQ(XDoTool::visibleWindows(miniAIName).size(), 1);
    EXPECT_EQ(XDoTool::focusedWindowName(), miniAIName);
}

TEST_F(TrayMenuEndToEndX11Test, AfterAFailedPaletteCommandsAlertTheFocusGoesBackToTheProgram) {
    // Another program holds the keyboard, as an editor would.
    QProcess editor;
    editor.start(QStringLiteral("xmessage"),
                 {QStringLiteral("-name"), QStringLiteral("editor"), QStringLiteral("-center"),
                  QStringLiteral("an editor's window")});
    ASSERT_TRUE(editor.waitForStarted(5000));
    auto stopEditor = qScopeGuard([&] {
        editor.kill();
        editor.waitForFinished(3000);
    });
    std::optional<quint64> editorWindow;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<quint64> windows = XDoTool::visibleWindowIds(QStringLiteral("editor"));
            editorWindow = windows.isEmpty() ? std::nullopt : std::optional(windows.first());
            return editorWindow.has_value();
        },
        5000));
    XDoTool::run({QStringLiteral("windowactivate"), QString::number(*editorWindow)});
    ASSERT_TRUE(focusMovesTo(QStringLiteral("editor")));

    // The session's screen saver refuses, so keep-awake fails.
    RefusingScreenSaver saver;
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.registerService(screenSaverName));
    auto releaseName = qScopeGuard([&] { bus.unregisterService(screenSaverName); });
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(app->openPalette());
    ASSERT_TRUE(XDoTool::type(QStringLiteral("Keep Computer Awake")));
    ASSERT_TRUE(XDoTool::key(QStringLiteral("Return")));
    QList<QRect> alerts;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !(alerts = XDoTool::visibleWindows(alertName)).isEmpty(); }, 5000));
    QTest::qWait(300);
    EXPECT_EQ(XDoTool::visibleWindows(alertName).size(), 1) << "one alert for one error";
    ASSERT_TRUE(focusMovesTo(alertName));

    ASSERT_TRUE(XDoTool::key(QStringLiteral("Return")));
    ASSERT_TRUE(QTest::qWaitFor([] { return XDoTool::visibleWindows(alertName).isEmpty(); }, 5000));
    EXPECT_TRUE(focusMovesTo(QStringLiteral("editor")))
        << XDoTool::focusedWindowName().value_or(QString()).toStdString();
}

#include "TrayMenuEndToEndX11Test.moc"
