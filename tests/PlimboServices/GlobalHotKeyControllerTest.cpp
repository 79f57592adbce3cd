#include "GlobalHotKeyController.h"

#include "FakeHotKeyBackend.h"
#include "X11HotKeyBackend.h"

#include <gtest/gtest.h>

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
