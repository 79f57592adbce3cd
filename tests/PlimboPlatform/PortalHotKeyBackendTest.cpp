#include "PortalHotKeyBackend.h"

#include "FakeBusService.h"
#include "FakeShortcutsPortal.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>

using namespace plimbo;

namespace {

class PortalHotKeyBackendTest : public testing::Test {
protected:
    void SetUp() override {
        if (!test::FakeBusService::sessionBusIsAvailable()) {
            GTEST_SKIP() << "needs a D-Bus session bus (run through tools/test-session.sh)";
        }
        portal = std::make_unique<test::FakeShortcutsPortal>();
    }

    std::unique_ptr<PortalHotKeyBackend> makeBackend(const QString& service) {
        auto backend = std::make_unique<PortalHotKeyBackend>(
            QDBusConnection::sessionBus(), service,
            QHash<quint32, PortalHotKeyBackend::Shortcut>{
                {1, {QStringLiteral("command-palette"), QStringLiteral("Open the palette")}},
                {2, {QStringLiteral("launcher"), QStringLiteral("Open the launcher")}},
                {3, {QStringLiteral("clipboard"), QStringLiteral("Open the clipboard")}}});
        backend->setBindingsChangedHandler([this] { ++changes; });
        EXPECT_EQ(backend->installHandler([this](quint32 id) {
            pressed << id;
            return true;
        }),
                  HotKeyStatus::success);
        return backend;
    }

    // Registers the three application shortcuts; every one waits for the desktop.
    QList<quint64> registerAll(PortalHotKeyBackend& backend) {
        QList<quint64> refs;
        for (const auto& [id, keys] :
             {std::pair{1u, QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space)},
              std::pair{2u, QKeyCombination(Qt::AltModifier, Qt::Key_Space)},
              std::pair{3u, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V)}}) {
            const HotKeyBackend::Registration registration = backend.registerHotKey(id, keys);
            EXPECT_EQ(registration.status, HotKeyStatus::pending);
            EXPECT_NE(registration.ref, 0u);
            refs << registration.ref;
        }
        return refs;
    }

    bool settled(const PortalHotKeyBackend& backend, const QList<quint64>& refs) {
        return QTest::qWaitFor(
            [&] {
                for (quint64 ref : refs) {
                    if (backend.binding(ref).status == HotKeyStatus::pending) {
                        return false;
                    }
                }
                return true;
            },
            5000);
    }

    std::unique_ptr<test::FakeShortcutsPortal> portal;
    QList<quint32> pressed;
    int changes = 0;
};

} // namespace

TEST_F(PortalHotKeyBackendTest, BindsAllShortcutsInOneRequestAndRunsThemWhenActivated) {
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    // Nothing is held before the desktop answered.
    EXPECT_EQ(backend->binding(refs[0]).status, HotKeyStatus::pending);
    ASSERT_TRUE(settled(*backend, refs));

    // The application id goes first, before any other portal call.
    ASSERT_FALSE(portal->calls.isEmpty());
    EXPECT_EQ(portal->calls.first(), QStringLiteral("Register"));
    EXPECT_EQ(portal->registeredApplicationId, QStringLiteral("com.plimbo.utility"));
    EXPECT_EQ(portal->calls.count(QStringLiteral("BindShortcuts")), 1);
    // Listed in CreateSession too, for desktops that bind only those.
    EXPECT_TRUE(portal->createSessionListedShortcuts);
    const QHash<QString, QPair<QString, QString>> expected{
        {QStringLiteral("command-palette"),
         {QStringLiteral("Open the palette"), QStringLiteral("LOGO+ALT+space")}},
        {QStringLiteral("launcher"),
         {QStringLiteral("Open the launcher"), QStringLiteral("ALT+space")}},
        {QStringLiteral("clipboard"),
         {QStringLiteral("Open the clipboard"), QStringLiteral("CTRL+ALT+v")}}};
    EXPECT_EQ(portal->requestedShortcuts, expected);
    for (quint64 ref : refs) {
        EXPECT_EQ(backend->binding(ref).status, HotKeyStatus::success);
    }
    EXPECT_EQ(backend->binding(refs[2]).trigger, QStringLiteral("CTRL+ALT+v"));
    EXPECT_GT(changes, 0);
    EXPECT_TRUE(backend->unavailableReason().isEmpty());

    ASSERT_TRUE(portal->activate(QStringLiteral("launcher")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 5000));
    EXPECT_EQ(pressed, QList<quint32>{2});

    // A dropped registration runs nothing any more.
    backend->unregisterHotKey(refs[1]);
    ASSERT_TRUE(portal->activate(QStringLiteral("launcher")));
    ASSERT_TRUE(portal->activate(QStringLiteral("clipboard")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return pressed.size() == 2; }, 5000));
    EXPECT_EQ(pressed, (QList<quint32>{2, 3}));

    // Releasing the backend closes its session, which frees the keys on the desktop.
    backend.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return portal->sessionClosed; }, 5000));
}

TEST_F(PortalHotKeyBackendTest, RefusedShortcutsAndOtherTriggersFollowTheDesktop) {
    portal->refusedIds.insert(QStringLiteral("clipboard"));
    portal->boundTriggers.insert(QStringLiteral("launcher"), QStringLiteral("Meta+Shift+L"));
    // An older portal without the application registry still binds.
    portal->offersRegistry = false;
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));

    EXPECT_EQ(backend->binding(refs[0]).status, HotKeyStatus::success);
    EXPECT_EQ(backend->binding(refs[1]).status, HotKeyStatus::success);
    EXPECT_EQ(backend->binding(refs[1]).trigger, QStringLiteral("Meta+Shift+L"));
    EXPECT_EQ(backend->binding(refs[2]).status, HotKeyStatus::refusedByDesktop);

    // The user gives the palette other keys in the desktop's settings.
    const int before = changes;
    ASSERT_TRUE(
        portal->changeTrigger(QStringLiteral("command-palette"), QStringLiteral("Ctrl+F12")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return backend->binding(refs[0]).trigger == QStringLiteral("Ctrl+F12"); }, 5000));
    EXPECT_GT(changes, before);
    EXPECT_EQ(backend->binding(refs[2]).status, HotKeyStatus::refusedByDesktop);
}

TEST_F(PortalHotKeyBackendTest,
       ADeclinedDialogLeavesEveryShortcutUnboundUntilTheDesktopActivatesOne) {
    portal->bindResponse = 1;
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));
    for (quint64 ref : refs) {
        EXPECT_EQ(backend->binding(ref).status, HotKeyStatus::refusedByDesktop);
    }
    EXPECT_TRUE(pressed.isEmpty());

    // A desktop that binds from its own configuration still activates: then it holds the key.
    ASSERT_TRUE(portal->activate(QStringLiteral("launcher")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 5000));
    EXPECT_EQ(pressed, QList<quint32>{2});
    EXPECT_EQ(backend->binding(refs[1]).status, HotKeyStatus::success);
    EXPECT_EQ(backend->binding(refs[2]).status, HotKeyStatus::refusedByDesktop);
}

TEST_F(PortalHotKeyBackendTest, WithoutThePortalOrItsShortcutsInterfaceTheReasonIsReported) {
    // No portal at all: the name has no owner.
    auto missing = makeBackend(portal->serviceName());
    const QList<quint64> missingRefs = registerAll(*missing);
    ASSERT_TRUE(settled(*missing, missingRefs));
    EXPECT_EQ(missing->binding(missingRefs[0]).status, HotKeyStatus::noShortcutsFacility);
    EXPECT_TRUE(missing->unavailableReason().contains(QStringLiteral("No XDG desktop portal")))
        << missing->unavailableReason().toStdString();

    // A portal without GlobalShortcuts (GNOME before it had one, say).
    portal->offersShortcuts = false;
    ASSERT_TRUE(portal->publish());
    auto bare = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*bare);
    ASSERT_TRUE(settled(*bare, refs));
    for (quint64 ref : refs) {
        EXPECT_EQ(bare->binding(ref).status, HotKeyStatus::noShortcutsFacility);
    }
    EXPECT_TRUE(bare->unavailableReason().contains(
        QStringLiteral("org.freedesktop.portal.GlobalShortcuts")));
    EXPECT_FALSE(portal->calls.contains(QStringLiteral("CreateSession")));
    // Later registrations on it fail at once.
    EXPECT_EQ(bare->registerHotKey(4, Qt::Key_F5).status, HotKeyStatus::noShortcutsFacility);
}

TEST_F(PortalHotKeyBackendTest, ADesktopThatBindsFromCreateSessionIsNotAskedToBindAgain) {
    // Plasma 5.27: only CreateSession's list is bound; BindShortcuts opens its settings.
    portal->bindsFromCreateSession = true;
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));

    EXPECT_TRUE(portal->createSessionListedShortcuts);
    EXPECT_EQ(portal->requestedShortcuts.value(QStringLiteral("launcher")),
              qMakePair(QStringLiteral("Open the launcher"), QStringLiteral("ALT+space")));
    EXPECT_EQ(portal->requestedShortcuts.size(), 3);
    // Nor later: a bind request would reach the portal within a few turns.
    QTest::qWait(200);
    EXPECT_FALSE(portal->calls.contains(QStringLiteral("BindShortcuts")));
    EXPECT_EQ(portal->settingsOpened, 0);
    for (quint64 ref : refs) {
        EXPECT_EQ(backend->binding(ref).status, HotKeyStatus::success);
    }
    EXPECT_EQ(backend->binding(refs[0]).trigger, QStringLiteral("LOGO+ALT+space"));
    ASSERT_TRUE(portal->activate(QStringLiteral("clipboard")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 5000));
    EXPECT_EQ(pressed, QList<quint32>{3});
}

TEST_F(PortalHotKeyBackendTest, EveryStartAndRetryUsesTheSameSession) {
    portal->bindsFromCreateSession = true;
    ASSERT_TRUE(portal->publish());
    for (int run = 0; run < 3; ++run) {
        auto backend = makeBackend(portal->serviceName());
        ASSERT_TRUE(settled(*backend, registerAll(*backend)));
        // Released as a retry releases it: the session closes before the next one opens.
        backend.reset();
        ASSERT_TRUE(QTest::qWaitFor([&] { return portal->sessionClosed; }, 5000));
        portal->sessionClosed = false;
    }
    ASSERT_EQ(portal->sessionTokens.size(), 3);
    EXPECT_EQ(portal->sessionTokens.count(portal->sessionTokens.first()), 3)
        << portal->sessionTokens.join(u' ').toStdString();
    EXPECT_EQ(portal->settingsOpened, 0);
}

TEST_F(PortalHotKeyBackendTest, AShortcutListedWithoutTriggerHasNoKeys) {
    // The user removed the clipboard's keys in the desktop's settings.
    portal->bindsFromCreateSession = true;
    portal->boundTriggers.insert(QStringLiteral("clipboard"), QString());
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));
    EXPECT_EQ(backend->binding(refs[2]).status, HotKeyStatus::noKeys);
    EXPECT_TRUE(backend->binding(refs[2]).trigger.isEmpty());
    EXPECT_EQ(backend->binding(refs[1]).status, HotKeyStatus::success);

    // The user gives it keys again.
    ASSERT_TRUE(portal->changeTrigger(QStringLiteral("clipboard"), QStringLiteral("Meta+V")));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return backend->binding(refs[2]).status == HotKeyStatus::success; }, 5000));
    EXPECT_EQ(backend->binding(refs[2]).trigger, QStringLiteral("Meta+V"));
}

TEST_F(PortalHotKeyBackendTest, WhileThePortalIsGoneNothingIsHeldAndItBindsAgainWhenBack) {
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));
    const int changesBefore = changes;

    ASSERT_TRUE(portal->quit());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return backend->binding(refs[0]).status == HotKeyStatus::noShortcutsFacility; },
        5000));
    for (quint64 ref : refs) {
        EXPECT_EQ(backend->binding(ref).status, HotKeyStatus::noShortcutsFacility);
    }
    EXPECT_TRUE(backend->unavailableReason().contains(QStringLiteral("portal has stopped")))
        << backend->unavailableReason().toStdString();
    EXPECT_GT(changes, changesBefore);

    ASSERT_TRUE(portal->publish());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::all_of(refs.cbegin(), refs.cend(), [&](quint64 ref) {
                return backend->binding(ref).status == HotKeyStatus::success;
            });
        },
        5000));
    EXPECT_TRUE(backend->unavailableReason().isEmpty());
    EXPECT_EQ(portal->calls.count(QStringLiteral("CreateSession")), 2);
    EXPECT_EQ(portal->requestedShortcuts.size(), 3);
    ASSERT_TRUE(portal->activate(QStringLiteral("command-palette")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pressed.isEmpty(); }, 5000));
    EXPECT_EQ(pressed, QList<quint32>{1});
}

TEST_F(PortalHotKeyBackendTest, ASessionTheDesktopClosedHoldsNothing) {
    ASSERT_TRUE(portal->publish());
    auto backend = makeBackend(portal->serviceName());
    const QList<quint64> refs = registerAll(*backend);
    ASSERT_TRUE(settled(*backend, refs));

    ASSERT_TRUE(portal->closeSession());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return backend->binding(refs[1]).status == HotKeyStatus::noShortcutsFacility; },
        5000));
    EXPECT_TRUE(backend->unavailableReason().contains(QStringLiteral("Retry Shortcuts")));
    // Its activations are stale.
    ASSERT_TRUE(portal->activate(QStringLiteral("launcher")));
    QTest::qWait(200);
    EXPECT_TRUE(pressed.isEmpty());
}

TEST(PortalHotKeyBackendTriggerTest, PreferredTriggersUseTheXdgShortcutsNotation) {
    EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(
                  QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier, Qt::Key_F5)),
              QStringLiteral("CTRL+SHIFT+F5"));
    EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(Qt::Key_Return), QStringLiteral("Return"));
    EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(Qt::Key_Launch0), QString());
    EXPECT_EQ(PortalHotKeyBackend::preferredTrigger(QKeyCombination(Qt::KeypadModifier, Qt::Key_A)),
              QString());
}
