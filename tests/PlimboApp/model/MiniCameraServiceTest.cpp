#include "MiniCameraService.h"
#include "AppModelHarness.h"
#include "FakeCameraCapture.h"
#include "MiniCameraError.h"
#include "MiniCameraTestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString kDenied = QStringLiteral(
    "Camera access is off. Allow Plimbo to use the camera in your desktop’s privacy settings.");
const QString kUnavailable = QStringLiteral("No camera is available on this computer.");
const QString kInput = QStringLiteral("Plimbo could not connect to the camera.");

struct Camera {
    std::shared_ptr<FakeCameraCapture> capture = std::make_shared<FakeCameraCapture>();
    MiniCameraService service{capture};
};

} // namespace

TEST(MiniCameraServiceTest, StartGoesThroughStartingToActiveAndToggleStops) {
    Camera c;
    c.capture->holdStarts = true;
    QSignalSpy starting(&c.service, &MiniCameraService::isStartingChanged);
    QSignalSpy active(&c.service, &MiniCameraService::isActiveChanged);

    QFuture<void> started = c.service.toggle();
    EXPECT_TRUE(c.service.isStarting());
    EXPECT_FALSE(c.service.isActive());
    // A second start while starting does nothing and finishes at once.
    EXPECT_EQ(outcome(c.service.start()), std::nullopt);
    EXPECT_EQ(c.capture->startCalls, 1);

    c.capture->completeStart();
    EXPECT_EQ(outcome(started), std::nullopt);
    EXPECT_FALSE(c.service.isStarting());
    EXPECT_TRUE(c.service.isActive());
    EXPECT_EQ(starting.count(), 2);
    EXPECT_EQ(active.count(), 1);
    EXPECT_EQ(outcome(c.service.start()), std::nullopt);
    EXPECT_EQ(c.capture->startCalls, 1);

    EXPECT_EQ(outcome(c.service.toggle()), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_FALSE(c.capture->isRunning());
}

TEST(MiniCameraServiceTest, ToggleWhileStartingEndsIdleWithoutError) {
    Camera c;
    c.capture->holdStarts = true;
    QFuture<void> started = c.service.toggle();
    ASSERT_TRUE(c.capture->hasPendingStart());

    EXPECT_EQ(outcome(c.service.toggle()), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_EQ(outcome(started), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_FALSE(c.capture->isRunning());
}

TEST(MiniCameraServiceTest, StaleStartThatSucceedsLaterTurnsThePipelineOffAgain) {
    Camera c;
    c.capture->holdStarts = true;
    c.capture->stopLeavesStartPending = true;
    QFuture<void> started = c.service.start();
    c.service.stop();
    EXPECT_EQ(c.capture->stopCalls, 1);

    c.capture->completeStart();
    EXPECT_EQ(outcome(started), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_EQ(c.capture->stopCalls, 2);
    EXPECT_FALSE(c.capture->isRunning());
}

TEST(MiniCameraServiceTest, NewerStartKeepsThePipelineAnOlderStaleStartBrought) {
    Camera c;
    c.capture->holdStarts = true;
    c.capture->stopLeavesStartPending = true;
    QFuture<void> first = c.service.start();
    c.service.stop();
    QFuture<void> second = c.service.start();
    EXPECT_TRUE(c.service.isStarting());

    c.capture->completeStart();
    EXPECT_EQ(outcome(first), std::nullopt);
    EXPECT_EQ(outcome(second), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
    EXPECT_TRUE(c.capture->isRunning());
    EXPECT_EQ(c.capture->stopCalls, 1);
}

TEST(MiniCameraServiceTest, DeniedOrRestrictedAccessFailsWithoutTouchingTheCamera) {
    for (CameraAuthorization refused :
         {CameraAuthorization::denied, CameraAuthorization::restricted}) {
        Camera c;
        c.capture->authorizationState = refused;
        EXPECT_EQ(outcome(c.service.toggle()), kDenied);
        EXPECT_TRUE(idle(c.service));
        EXPECT_EQ(c.capture->startCalls, 0);
        EXPECT_EQ(c.capture->accessRequests, 0);
    }
    EXPECT_EQ(kDenied.toUtf8().size(), 90);
}

TEST(MiniCameraServiceTest, UndecidedAccessIsAskedWhileStarting) {
    Camera c;
    c.capture->authorizationState = CameraAuthorization::notDetermined;
    c.capture->holdAccessRequests = true;
    QFuture<void> declined = c.service.start();
    EXPECT_TRUE(c.service.isStarting());
    EXPECT_EQ(c.capture->accessRequests, 1);
    c.capture->answerAccess(false);
    EXPECT_EQ(outcome(declined), kDenied);
    EXPECT_TRUE(idle(c.service));
    EXPECT_EQ(c.capture->startCalls, 0);

    QFuture<void> granted = c.service.start();
    c.capture->answerAccess(true);
    EXPECT_EQ(outcome(granted), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
}

TEST(MiniCameraServiceTest, StopWhileThePromptIsOpenEndsQuietly) {
    Camera c;
    c.capture->authorizationState = CameraAuthorization::notDetermined;
    c.capture->holdAccessRequests = true;
    QFuture<void> started = c.service.start();
    c.service.stop();
    c.capture->answerAccess(true);
    EXPECT_EQ(outcome(started), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_EQ(c.capture->startCalls, 0);
}

TEST(MiniCameraServiceTest, MissingOrRefusedCameraFailsAndTheNextStartTriesAgain) {
    Camera c;
    c.capture->hasCamera = false;
    EXPECT_EQ(outcome(c.service.start()), kUnavailable);
    EXPECT_TRUE(idle(c.service));
    c.capture->hasCamera = true;
    c.capture->refusesInput = true;
    EXPECT_EQ(outcome(c.service.start()), kInput);
    c.capture->refusesInput = false;
    c.capture->deviceFailure = QStringLiteral("Cannot open /dev/video0");
    EXPECT_EQ(outcome(c.service.start()), QStringLiteral("Cannot open /dev/video0"));
    c.capture->deviceFailure.reset();
    EXPECT_EQ(outcome(c.service.start()), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
    EXPECT_EQ(c.capture->startCalls, 4);
    EXPECT_EQ(c.capture->connections, 1);
}

TEST(MiniCameraServiceTest, FailureOfTheCurrentStartIsReportedAndLeavesIdle) {
    Camera c;
    c.capture->holdStarts = true;
    QFuture<void> started = c.service.start();
    c.capture->failStart(CameraError::Kind::noCamera, QStringLiteral("unplugged"));
    EXPECT_EQ(outcome(started), kUnavailable);
    EXPECT_TRUE(idle(c.service));
}

TEST(MiniCameraServiceTest, CameraLostWhileRunningStopsThePreviewAndSaysWhy) {
    Camera c;
    ASSERT_EQ(outcome(c.service.start()), std::nullopt);
    QSignalSpy failures(&c.service, &MiniCameraService::failed);
    c.capture->failWhileRunning(CameraError::Kind::noCamera, QStringLiteral("gone"));
    EXPECT_TRUE(idle(c.service));
    ASSERT_EQ(failures.count(), 1);
    EXPECT_EQ(failures.at(0).at(0).toString(), kUnavailable);

    ASSERT_EQ(outcome(c.service.start()), std::nullopt);
    c.capture->failWhileRunning(CameraError::Kind::deviceFailed, QStringLiteral("I/O error"));
    ASSERT_EQ(failures.count(), 2);
    EXPECT_EQ(failures.at(1).at(0).toString(), QStringLiteral("I/O error"));
}

TEST(MiniCameraServiceTest, ModelShowsAFailedToggleAsItsErrorMessage) {
    AppModelHarness h;
    auto capture = std::make_shared<FakeCameraCapture>();
    capture->authorizationState = CameraAuthorization::denied;
    AppModelDependencies dependencies = h.dependencies();
    dependencies.miniCamera = std::make_shared<MiniCameraService>(capture);
    AppModel model(std::move(dependencies));
    model.toggleMiniCamera();
    ASSERT_TRUE(QTest::qWaitFor([&] { return model.presentedError().has_value(); }, 1000));
    EXPECT_EQ(model.presentedError(), kDenied);
}
