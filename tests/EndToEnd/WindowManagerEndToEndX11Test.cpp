#include "AppModel.h"
#include "FakeOpenRouterServer.h"
#include "KeychainService.h"
#include "LibsecretSecretStore.h"
#include "RunningPlimbo.h"
#include "RunningWindowManager.h"
#include "ScreenWindows.h"
#include "XDoTool.h"

#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString testKey = QStringLiteral("sk-or-v1-e2etestkey0123456789abcdef");
const QString miniAIName = QStringLiteral("Plimbo AI");
const QString notchName = QStringLiteral("Plimbo Notch");
const QString notchAlertName = QStringLiteral("Plimbo needs attention");

KeychainService keychain() {
    return KeychainService(AppModel::keychainServiceName, std::make_shared<LibsecretSecretStore>());
}

std::string turnState(const std::optional<QJsonObject>& turn) {
    return turn ? turn->value(QStringLiteral("state")).toString().toStdString() : std::string();
}

// The alert's one button, "OK", sits in its bottom-right corner.
QPoint okButton(const QRect& alert) {
    return alert.bottomRight() - QPoint(48, 22);
}

// The one shown window of this name that is not `other`.
std::optional<quint64> windowBesides(const QString& name, quint64 other) {
    for (const quint64 window : XDoTool::visibleWindowIds(name)) {
        if (window != other) {
            return window;
        }
    }
    return std::nullopt;
}

// The real program with its alerts, on bare Xvfb (no window manager: stacking is the order of
// raises) and under openbox (which stacks, reparents and hands the focus on by its own rules).
class WindowManagerEndToEndX11Test : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() { keychain().save(testKey, KeychainService::openRouterAccount); }
    static void TearDownTestSuite() { keychain().remove(KeychainService::openRouterAccount); }

    void SetUp() override {
        if (GetParam()) {
            if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
                GTEST_SKIP() << "needs openbox as the window manager";
            }
            windowManager = std::make_unique<RunningWindowManager>();
            ASSERT_TRUE(windowManager->start()) << windowManager->output().toStdString();
        }
        app = std::make_unique<RunningPlimbo>(server.baseUrl());
    }

    void TearDown() override {
        if (!app) {
            return;
        }
        // A program that died on the way fails the case even when its checks passed.
        EXPECT_TRUE(app->isRunning()) << app->output().toStdString();
        EXPECT_TRUE(app->stop()) << app->output().toStdString();
        app.reset();
        windowManager.reset();
    }

    void send(const QString& prompt) {
        ASSERT_TRUE(XDoTool::type(prompt));
        ASSERT_TRUE(XDoTool::key(QStringLiteral("Return")));
    }

    std::optional<QJsonObject> waitForStoredTurn(const QString& prompt, const std::string& state) {
        (void)QTest::qWaitFor([&] { return turnState(app->storedTurn(prompt)) == state; }, 15000);
        return app->storedTurn(prompt);
    }

    // What a user sees of an alert: it is the topmost window at its own middle (a window
    // manager's frame around it included).
    static bool isOnTop(quint64 alert) {
        const std::optional<QRect> frame = ScreenWindows::frame(alert);
        return frame && ScreenWindows::topmostAt(frame->center()).contains(alert);
    }

    FakeOpenRouterServer server;
    std::unique_ptr<RunningWindowManager> windowManager;
    std::unique_ptr<RunningPlimbo> app;
};

std::string withOrWithoutWindowManager(const ::testing::TestParamInfo<bool>& info) {
    return info.param ? "UnderOpenbox" : "OnBareX";
}

} // namespace

TEST_P(WindowManagerEndToEndX11Test, MiniAIAlertIsDismissedWithOkAndTheComposerSendsAgain) {
    ASSERT_TRUE(app->startAndOpenPalette()) << app->output().toStdString();
    ASSERT_TRUE(app->openMiniAIFromPalette()) << app->output().toStdString();
    const QList<quint64> panels = XDoTool::visibleWindowIds(miniAIName);
    ASSERT_EQ(panels.size(), 1);

    server.setReply(
        {.status = 401,
         .contentType = "application/json",
         .pieces = {R"({"error":{"message":"No auth credentials found","code":401}})"}});
    const QString failing = QStringLiteral("Are you there");
    send(failing);
    ASSERT_EQ(turnState(waitForStoredTurn(failing, "failed")), "failed")
        << app->output().toStdString();

    std::optional<quint64> alert;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (alert = windowBesides(miniAIName, panels.first())).has_value(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return isOnTop(*alert); }, 3000));
    ASSERT_TRUE(XDoTool::click(okButton(*ScreenWindows::frame(*alert))));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return XDoTool::visibleWindowIds(miniAIName) == panels; }, 5000));

    // The composer has the keyboard again: what is typed next is sent.
    server.setReply({.pieces = {FakeOpenRouterServer::contentEvent(QStringLiteral("Here.")),
                                FakeOpenRouterServer::doneEvent()}});
    const QString next = QStringLiteral("And now");
    send(next);
    const std::optional<QJsonObject> turn = waitForStoredTurn(next, "completed");
    ASSERT_EQ(turnState(turn), "completed") << app->output().toStdString();
    EXPECT_EQ(turn->value(QStringLiteral("response")).toString(), QStringLiteral("Here."));
}

TEST_P(WindowManagerEndToEndX11Test, NotchAlertShowsAboveTheExpandedNotchAndOkDismissesIt) {
    // The notch preview opens the shelf at start with a file on it, before the program has
    // been activated: the alert's own activation then brings the notch to the front again.
    ASSERT_TRUE(app->start({QStringLiteral("--show-notch-preview")}))
        << app->output().toStdString();
    const QList<quint64> notches = XDoTool::visibleWindowIds(notchName);
    ASSERT_EQ(notches.size(), 1);
    const quint64 notch = notches.first();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return ScreenWindows::frame(notch).value_or(QRect()).size() == QSize(520, 384); },
        5000));
    const QRect expanded = *ScreenWindows::frame(notch);

    // AirDrop in the file shelf's action row: Linux has none, which the notch reports.
    ASSERT_TRUE(XDoTool::click(expanded.topLeft() + QPoint(81, 273)));
    std::optional<quint64> alert;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<quint64> alerts = XDoTool::visibleWindowIds(notchAlertName);
            if (alerts.size() == 1) {
                alert = alerts.first();
            }
            return alert.has_value();
        },
        5000))
        << app->output().toStdString();
    // Above the notch, also once the notch has come to the front again (at once and 90 ms
    // after the program became active).
    QTest::qWait(500);
    ASSERT_TRUE(isOnTop(*alert));

    ASSERT_TRUE(XDoTool::click(okButton(*ScreenWindows::frame(*alert))));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return XDoTool::visibleWindowIds(notchAlertName).isEmpty(); }, 5000));
    // The notch answers again: Escape closes the shelf.
    ASSERT_TRUE(XDoTool::key(QStringLiteral("Escape")));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ScreenWindows::frame(notch).value_or(QRect()).height() < 100; }, 5000));
}

INSTANTIATE_TEST_SUITE_P(, WindowManagerEndToEndX11Test, ::testing::Bool(),
                         withOrWithoutWindowManager);
