#include "GlobalHotKeyController.h"

#include "FakeHotKeyBackend.h"
#include "PortalHotKeyBackend.h"
#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;

namespace {

constexpr quint32 optionSpace = HotKeyBackend::OptionModifier;
constexpr quint32 controlOption = HotKeyBackend::ControlModifier | HotKeyBackend::OptionModifier;

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
    ASSERT_EQ(controller->handlerStatus(), HotKeyBackend::NoError);
    ASSERT_EQ(controller->registerHotKey(2, Qt::Key_Space, optionSpace, [&] { ran << "launcher"; }),
              HotKeyBackend::NoError);
    ASSERT_EQ(controller->registerHotKey(3, Qt::Key_V, controlOption, [&] { ran << "clipboard"; }),
              HotKeyBackend::NoError);

    EXPECT_EQ(state->press(Qt::Key_Space, optionSpace), HotKeyBackend::NoError);
    EXPECT_TRUE(ran.isEmpty()) << "the action ran inside the handler";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
    QTest::qWait(20);
    EXPECT_EQ(ran, QStringList{"launcher"});
}

TEST_F(GlobalHotKeyControllerTest, ASecondRegistrationOfAnIdKeepsTheFirstAction) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, Qt::Key_Space, optionSpace, [&] { ran << "first"; }),
              HotKeyBackend::NoError);
    EXPECT_EQ(controller->registerHotKey(1, Qt::Key_V, controlOption, [&] { ran << "second"; }),
              HotKeyBackend::HotKeyExists);
    EXPECT_EQ(state->registerCalls, 1);
    EXPECT_EQ(state->deliver(1), HotKeyBackend::NoError);
    QTest::qWait(20);
    EXPECT_EQ(ran, QStringList{"first"});
}

TEST_F(GlobalHotKeyControllerTest, PressesForUnknownIdsAreNotHandled) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, Qt::Key_Space, optionSpace, [&] { ran << "x"; }),
              HotKeyBackend::NoError);
    EXPECT_EQ(state->deliver(9), HotKeyBackend::EventNotHandled);
    EXPECT_EQ(state->press(Qt::Key_Space, HotKeyBackend::CommandModifier),
              HotKeyBackend::EventNotHandled);
    QTest::qWait(20);
    EXPECT_TRUE(ran.isEmpty());
}

TEST_F(GlobalHotKeyControllerTest, AFailedHandlerInstallationFailsEveryRegistration) {
    state->installStatus = HotKeyBackend::NoDisplayConnection;
    auto controller = makeController();
    EXPECT_EQ(controller->handlerStatus(), HotKeyBackend::NoDisplayConnection);
    EXPECT_EQ(controller->registerHotKey(1, Qt::Key_Space, optionSpace, [] {}),
              HotKeyBackend::NoDisplayConnection);
    EXPECT_EQ(state->registerCalls, 0);
}

TEST_F(GlobalHotKeyControllerTest, ARefusedCombinationIsReportedAndNothingIsKept) {
    state->refusals.insert({Qt::Key_V, controlOption}, HotKeyBackend::BadAccess);
    auto controller = makeController();
    EXPECT_EQ(controller->registerHotKey(3, Qt::Key_V, controlOption, [&] { ran << "v"; }),
              static_cast<qint32>(HotKeyBackend::BadAccess));
    EXPECT_EQ(state->deliver(3), HotKeyBackend::EventNotHandled);
    // The id is still free for another combination.
    EXPECT_EQ(controller->registerHotKey(3, Qt::Key_C, controlOption, [&] { ran << "c"; }),
              HotKeyBackend::NoError);
}

TEST_F(GlobalHotKeyControllerTest, SuccessWithoutAHeldKeyIsNotReportedAsSuccess) {
    state->succeedWithoutReference = true;
    auto controller = makeController();
    const qint32 status =
        controller->registerHotKey(1, Qt::Key_Space, optionSpace, [&] { ran << "x"; });
    EXPECT_NE(status, HotKeyBackend::NoError);
    EXPECT_EQ(status, HotKeyBackend::NothingStored);
    EXPECT_EQ(state->deliver(1), HotKeyBackend::EventNotHandled);

    state->succeedWithoutReference = false;
    EXPECT_EQ(controller->registerHotKey(1, Qt::Key_Space, optionSpace, [&] { ran << "x"; }),
              HotKeyBackend::NoError)
        << "the failed attempt left the id taken";
}

TEST_F(GlobalHotKeyControllerTest, APendingAnswerWithoutAHeldKeyIsNotReportedAsPending) {
    // A desktop that says "later" but holds nothing would never answer: the caller must not
    // wait for it, and the id stays free.
    state->refusals.insert({Qt::Key_Space, optionSpace}, HotKeyBackend::RegistrationPending);
    auto controller = makeController();
    QSignalSpy changes(controller.get(), &GlobalHotKeyController::registrationsChanged);
    EXPECT_EQ(controller->registerHotKey(2, Qt::Key_Space, optionSpace, [&] { ran << "x"; }),
              HotKeyBackend::NothingStored);
    EXPECT_FALSE(controller->isActive(2));
    EXPECT_EQ(state->deliver(2), HotKeyBackend::EventNotHandled);
    EXPECT_EQ(controller->registerHotKey(2, Qt::Key_V, controlOption, [&] { ran << "v"; }),
              HotKeyBackend::NoError)
        << "the pending attempt left the id taken";
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(GlobalHotKeyControllerTest, AKeyRegisteredWithoutAnActionLeavesThePressUnhandled) {
    auto controller = makeController();
    ASSERT_EQ(controller->registerHotKey(1, Qt::Key_Space, optionSpace, {}),
              HotKeyBackend::NoError);
    EXPECT_EQ(state->press(Qt::Key_Space, optionSpace), HotKeyBackend::EventNotHandled);
    QTest::qWait(20); // an empty action queued for the event loop would throw there
}

TEST_F(GlobalHotKeyControllerTest, ReleasingTheControllerReleasesItsKeysAndHandler) {
    auto controller = makeController();
    controller->registerHotKey(1, Qt::Key_Space, optionSpace | HotKeyBackend::CommandModifier,
                               [&] { ran << "palette"; });
    controller->registerHotKey(2, Qt::Key_Space, optionSpace, [&] { ran << "launcher"; });
    ASSERT_EQ(state->held.size(), 2);
    controller.reset();
    EXPECT_TRUE(state->held.isEmpty());
    EXPECT_EQ(state->unregisterCalls, 2);
    EXPECT_EQ(state->press(Qt::Key_Space, optionSpace), HotKeyBackend::EventNotHandled);
    QTest::qWait(20);
    EXPECT_TRUE(ran.isEmpty());

    // A replacement controller can take the same keys again.
    auto replacement = makeController();
    EXPECT_EQ(replacement->registerHotKey(2, Qt::Key_Space, optionSpace, [] {}),
              HotKeyBackend::NoError);
}

TEST_F(GlobalHotKeyControllerTest, APressAnsweredJustBeforeReleaseStillRuns) {
    auto controller = makeController();
    controller->registerHotKey(2, Qt::Key_Space, optionSpace, [&] { ran << "launcher"; });
    ASSERT_EQ(state->press(Qt::Key_Space, optionSpace), HotKeyBackend::NoError);
    controller.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
}

TEST(GlobalHotKeyControllerWithoutX11, InstallationFailureIsReportedNotFaked) {
    GlobalHotKeyController controller(std::make_unique<X11HotKeyBackend>(nullptr, nullptr));
    EXPECT_NE(controller.handlerStatus(), HotKeyBackend::NoError);
    EXPECT_EQ(controller.registerHotKey(1, Qt::Key_Space, optionSpace, [] {}),
              controller.handlerStatus());
}

TEST_F(GlobalHotKeyControllerTest, ADesktopThatAnswersLaterIsFollowedNotAssumed) {
    state->answersLater = true;
    auto controller = makeController();
    QSignalSpy changes(controller.get(), &GlobalHotKeyController::registrationsChanged);
    EXPECT_EQ(controller->registerHotKey(2, Qt::Key_Space, optionSpace, [&] { ran << "launcher"; }),
              HotKeyBackend::RegistrationPending);
    EXPECT_EQ(controller->registerHotKey(3, Qt::Key_V, controlOption, [&] { ran << "clipboard"; }),
              HotKeyBackend::RegistrationPending);
    // Asked for is not held.
    EXPECT_FALSE(controller->isActive(2));
    EXPECT_EQ(controller->registerHotKey(2, Qt::Key_F5, 0, [] {}), HotKeyBackend::HotKeyExists);

    // The desktop binds the launcher to other keys and refuses the clipboard.
    state->answer(2, {HotKeyBackend::NoError, QStringLiteral("Meta+L")});
    state->answer(3, {HotKeyBackend::RefusedByDesktop, {}});
    EXPECT_EQ(changes.size(), 2);
    EXPECT_TRUE(controller->isActive(2));
    EXPECT_EQ(controller->boundTrigger(2), QStringLiteral("Meta+L"));
    EXPECT_FALSE(controller->isActive(3));
    EXPECT_EQ(controller->boundTrigger(3), QString());
    EXPECT_FALSE(controller->isActive(9));

    EXPECT_EQ(state->deliver(2), HotKeyBackend::NoError);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ran.isEmpty(); }, 1000));
    EXPECT_EQ(ran, QStringList{"launcher"});

    // Released with the controller, pending or not; a late answer reaches nobody.
    state->unavailableReason = QStringLiteral("no portal");
    EXPECT_EQ(controller->unavailableReason(), QStringLiteral("no portal"));
    controller.reset();
    EXPECT_TRUE(state->held.isEmpty());
    state->answer(2, {HotKeyBackend::NoError, {}});
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
