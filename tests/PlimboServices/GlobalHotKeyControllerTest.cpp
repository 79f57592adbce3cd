#include "GlobalHotKeyController.h"

#include "FakeHotKeyBackend.h"
#include "PortalHotKeyBackend.h"
#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

constexpr QKeyCombination altSpace(Qt::AltModifier, Qt::Key_Space);
constexpr QKeyCombination ctrlAltV(Qt::ControlModifier | Qt::AltModifier, Qt::Key_V);

class GlobalHotKeyControllerTest : public testing::Test {
protected:
    std::unique_ptr<GlobalHotKeyController> makeController() {
        return std::make_unique<GlobalHotKeyController>(std::make_unique<FakeHotKeyBackend>(state));
    }

    std::shared_ptr<FakeHotKeyBackend::State> state = std::make_shared<FakeHotKeyBackend::State>();
    QStringList ran;
};

} // namespace

TEST_F(GlobalHotKeyControllerTest, APressRunsItsActionOnceAfterThePressIsAnswered) {
    auto controller = makeController();
    ASSERT_EQ(controller->handlerStatus(), HotKeyStatus::success);
    ASSERT_EQ(controller->registerHotKey(2, altSpace, [&] { ran << "launcher"; }),
              HotKeyStatus::success);
    ASSERT_EQ(controller->registerHotKey(3, ctrlAltV, [&] { ran << "clipboard"; }),
              HotKeyStatus::success);

    EXPECT_TRUE(state->press(altSpace));
    EXPECT_TRUE(ran.isEmpty()) << "the action ran inside the handler";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
    QTest::qWait(20);
    EXPECT_EQ(ran, QStringList{"launcher"});
}

TEST_F(GlobalHotKeyControllerTest, ASecondRegistrationOfAnIdKeepsTheFirstAction) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, altSpace, [&] { ran << "first"; }),
              HotKeyStatus::success);
    EXPECT_EQ(controller->registerHotKey(1, ctrlAltV, [&] { ran << "second"; }),
              HotKeyStatus::alreadyTaken);
    EXPECT_EQ(state->registerCalls, 1);
    EXPECT_TRUE(state->deliver(1));
    QTest::qWait(20);
    EXPECT_EQ(ran, QStringList{"first"});
}

TEST_F(GlobalHotKeyControllerTest, PressesForUnknownIdsAreNotHandled) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, altSpace, [&] { ran << "x"; }), HotKeyStatus::success);
    EXPECT_FALSE(state->deliver(9));
    EXPECT_FALSE(state->press(QKeyCombination(Qt::MetaModifier, Qt::Key_Space)));
    QTest::qWait(20);
    EXPECT_TRUE(ran.isEmpty());
}

TEST_F(GlobalHotKeyControllerTest, AFailedHandlerInstallationFailsEveryRegistration) {
    state->installStatus = HotKeyStatus::noDisplayConnection;
    auto controller = makeController();
    EXPECT_EQ(controller->handlerStatus(), HotKeyStatus::noDisplayConnection);
    EXPECT_EQ(controller->registerHotKey(1, altSpace, [] {}), HotKeyStatus::noDisplayConnection);
    EXPECT_EQ(state->registerCalls, 0);
}

TEST_F(GlobalHotKeyControllerTest, ARefusedCombinationIsReportedAndNothingIsKept) {
    state->refuse(ctrlAltV, HotKeyStatus::takenByAnotherClient);
    auto controller = makeController();
    EXPECT_EQ(controller->registerHotKey(3, ctrlAltV, [&] { ran << "v"; }),
              HotKeyStatus::takenByAnotherClient);
    EXPECT_FALSE(state->deliver(3));
    // The id is still free for another combination.
    EXPECT_EQ(controller->registerHotKey(
                  3, QKeyCombination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_C),
                  [&] { ran << "c"; }),
              HotKeyStatus::success);
}

TEST_F(GlobalHotKeyControllerTest, SuccessWithoutAHeldKeyIsNotReportedAsSuccess) {
    state->succeedWithoutReference = true;
    auto controller = makeController();
    const HotKeyStatus status = controller->registerHotKey(1, altSpace, [&] { ran << "x"; });
    EXPECT_NE(status, HotKeyStatus::success);
    EXPECT_EQ(status, HotKeyStatus::nothingStored);
    EXPECT_FALSE(state->deliver(1));

    state->succeedWithoutReference = false;
    EXPECT_EQ(controller->registerHotKey(1, altSpace, [&] { ran << "x"; }), HotKeyStatus::success)
        << "the failed attempt left the id taken";
}

TEST_F(GlobalHotKeyControllerTest, APendingAnswerWithoutAHeldKeyIsNotReportedAsPending) {
    // A desktop that says "later" but holds nothing would never answer: the caller must not
    // wait for it, and the id stays free.
    state->refuse(altSpace, HotKeyStatus::pending);
    auto controller = makeController();
    QSignalSpy changes(controller.get(), &GlobalHotKeyController::registrationsChanged);
    EXPECT_EQ(controller->registerHotKey(2, altSpace, [&] { ran << "x"; }),
              HotKeyStatus::nothingStored);
    EXPECT_FALSE(controller->isActive(2));
    EXPECT_FALSE(state->deliver(2));
    EXPECT_EQ(controller->registerHotKey(2, ctrlAltV, [&] { ran << "v"; }), HotKeyStatus::success)
        << "the pending attempt left the id taken";
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(GlobalHotKeyControllerTest, AKeyRegisteredWithoutAnActionLeavesThePressUnhandled) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, altSpace, {}), HotKeyStatus::success);
    EXPECT_FALSE(state->press(altSpace));
    QTest::qWait(20); // an empty action queued for the event loop would throw there
}

TEST_F(GlobalHotKeyControllerTest, ReleasingTheControllerReleasesItsKeysAndHandler) {
    auto controller = makeController();
    controller->registerHotKey(1,
                               QKeyCombination(Qt::MetaModifier | Qt::AltModifier, Qt::Key_Space),
                               [&] { ran << "palette"; });
    controller->registerHotKey(2, altSpace, [&] { ran << "launcher"; });
    ASSERT_EQ(state->held.size(), 2);
    controller.reset();
    EXPECT_TRUE(state->held.isEmpty());
    EXPECT_EQ(state->unregisterCalls, 2);
    EXPECT_FALSE(state->press(altSpace));
    QTest::qWait(20);
    EXPECT_TRUE(ran.isEmpty());

    // A replacement controller can take the same keys again.
    auto replacement = makeController();
    EXPECT_EQ(replacement->registerHotKey(2, altSpace, [] {}), HotKeyStatus::success);
}

TEST_F(GlobalHotKeyControllerTest, APressAnsweredJustBeforeReleaseStillRuns) {
    auto controller = makeController();
    controller->registerHotKey(2, altSpace, [&] { ran << "launcher"; });
    ASSERT_TRUE(state->press(altSpace));
    controller.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
}

TEST(GlobalHotKeyControllerWithoutX11, InstallationFailureIsReportedNotFaked) {
    GlobalHotKeyController controller(std::make_unique<X11HotKeyBackend>(nullptr, nullptr));
    EXPECT_NE(controller.handlerStatus(), HotKeyStatus::success);
    EXPECT_EQ(controller.registerHotKey(1, altSpace, [] {}), controller.handlerStatus());
}

TEST_F(GlobalHotKeyControllerTest, ADesktopThatAnswersLaterIsFollowedNotAssumed) {
    state->answersLater = true;
    auto controller = makeController();
    QSignalSpy changes(controller.get(), &GlobalHotKeyController::registrationsChanged);
    EXPECT_EQ(controller->registerHotKey(2, altSpace, [&] { ran << "launcher"; }),
              HotKeyStatus::pending);
    EXPECT_EQ(controller->registerHotKey(3, ctrlAltV, [&] { ran << "clipboard"; }),
              HotKeyStatus::pending);
    // Asked for is not held.
    EXPECT_FALSE(controller->isActive(2));
    EXPECT_EQ(controller->registerHotKey(2, Qt::Key_F5, [] {}), HotKeyStatus::alreadyTaken);

    // The desktop binds the launcher to other keys and refuses the clipboard.
    state->answer(2, {HotKeyStatus::success, QStringLiteral("Meta+L")});
    state->answer(3, {HotKeyStatus::refusedByDesktop, {}});
    EXPECT_EQ(changes.size(), 2);
    EXPECT_TRUE(controller->isActive(2));
    EXPECT_EQ(controller->boundTrigger(2), QStringLiteral("Meta+L"));
    EXPECT_FALSE(controller->isActive(3));
    EXPECT_EQ(controller->boundTrigger(3), QString());
    EXPECT_FALSE(controller->isActive(9));

    EXPECT_TRUE(state->deliver(2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
    EXPECT_EQ(ran, QStringList{"launcher"});

    // Released with the controller, pending or not; a late answer reaches nobody.
    state->unavailableReason = QStringLiteral("no portal");
    EXPECT_EQ(controller->unavailableReason(), QStringLiteral("no portal"));
    controller.reset();
    EXPECT_TRUE(state->held.isEmpty());
    state->answer(2, {HotKeyStatus::success, {}});
}

TEST(GlobalHotKeyControllerBackendChoice, WaylandSessionsGetThePortalAndX11SessionsGrabs) {
    QProcessEnvironment x11;
    x11.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
    x11.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    QProcessEnvironment gnome = x11;
    gnome.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    QProcessEnvironment nested = x11;
    nested.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-1"));

    EXPECT_FALSE(GlobalHotKeyController::isWaylandSession(x11));
    EXPECT_TRUE(GlobalHotKeyController::isWaylandSession(gnome));
    EXPECT_TRUE(GlobalHotKeyController::isWaylandSession(nested));
    EXPECT_NE(
        dynamic_cast<X11HotKeyBackend*>(GlobalHotKeyController::desktopBackend({}, x11).get()),
        nullptr);
    for (const QProcessEnvironment& wayland : {gnome, nested}) {
        EXPECT_NE(dynamic_cast<PortalHotKeyBackend*>(
                      GlobalHotKeyController::desktopBackend({}, wayland).get()),
                  nullptr);
    }
}
