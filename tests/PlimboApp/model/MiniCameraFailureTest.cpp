#include "FakeCameraCapture.h"
#include "MiniCameraError.h"
#include "MiniCameraService.h"
#include "MiniCameraTestSupport.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

using namespace plimbo;
using namespace plimbo::test;

namespace {

const QString kUnavailable = QStringLiteral("No camera is available on this computer.");
const QString kInput = QStringLiteral("Plimbo could not connect to the camera.");
// What the real capture reports when the pipeline never comes up.
const QString kTimedOut = QStringLiteral("The camera did not start in time.");

struct Camera {
    std::shared_ptr<FakeCameraCapture> capture = std::make_shared<FakeCameraCapture>();
    MiniCameraService service{capture};
    QSignalSpy failures{&service, &MiniCameraService::failed};
};

} // namespace

// The device fails while the preview shows: the preview goes, the user reads why, and a new
// toggle connects the camera again.
TEST(MiniCameraFailureTest, DeviceFailingMidPreviewStopsItAndAToggleRecovers) {
    Camera c;
    ASSERT_EQ(outcome(c.service.toggle()), std::nullopt);
    ASSERT_EQ(c.capture->connections, 1);

    // A device that gives no explanation gets the general one.
    c.capture->failWhileRunning(CameraError::Kind::deviceFailed, QStringLiteral("  \n"));
    EXPECT_TRUE(idle(c.service));
    ASSERT_EQ(c.failures.count(), 1);
    EXPECT_EQ(c.failures.at(0).at(0).toString(), kInput);
    EXPECT_EQ(c.capture->stopCalls, 1);

    EXPECT_EQ(outcome(c.service.toggle()), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
    EXPECT_EQ(c.capture->connections, 2);
    EXPECT_EQ(c.failures.count(), 1);
}

// A report from the capture that arrives when no preview runs (it was stopped, or it is still
// starting and its start will speak for itself) tells the user nothing.
TEST(MiniCameraFailureTest, LateFailureReportsAreIgnoredWhenNoPreviewRuns) {
    Camera c;
    ASSERT_EQ(outcome(c.service.start()), std::nullopt);
    c.service.stop();
    emit c.capture->failed(CameraError::Kind::noCamera, QStringLiteral("gone"));
    EXPECT_EQ(c.failures.count(), 0);
    EXPECT_EQ(c.capture->stopCalls, 1);

    c.capture->holdStarts = true;
    QFuture<void> started = c.service.start();
    emit c.capture->failed(CameraError::Kind::deviceFailed, QStringLiteral("glitch"));
    EXPECT_EQ(c.failures.count(), 0);
    EXPECT_TRUE(c.service.isStarting());
    c.capture->completeStart();
    EXPECT_EQ(outcome(started), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
}

// The camera is unplugged while its start is under way, then plugged back in.
TEST(MiniCameraFailureTest, CameraDisappearingDuringStartIsUnavailableAndComesBack) {
    Camera c;
    c.capture->holdStarts = true;
    QFuture<void> started = c.service.toggle();
    EXPECT_TRUE(c.service.isStarting());
    c.capture->hasCamera = false;
    c.capture->failStart(CameraError::Kind::noCamera, QString());
    EXPECT_EQ(outcome(started), kUnavailable);
    EXPECT_TRUE(idle(c.service));
    EXPECT_FALSE(c.capture->isConnected());

    c.capture->hasCamera = true;
    c.capture->holdStarts = false;
    EXPECT_EQ(outcome(c.service.toggle()), std::nullopt);
    EXPECT_TRUE(c.service.isActive());
    EXPECT_EQ(c.failures.count(), 0);
}

// A pipeline that never comes up: the capture gives up after its time-out, the start fails
// with the connection message, and a time-out of a start the user already stopped is silent.
TEST(MiniCameraFailureTest, StartTimingOutFailsWithTheConnectionMessage) {
    Camera c;
    c.capture->holdStarts = true;
    QFuture<void> started = c.service.start();
    c.capture->failStart(CameraError::Kind::inputRefused, kTimedOut);
    EXPECT_EQ(outcome(started), kInput);
    EXPECT_TRUE(idle(c.service));

    c.capture->stopLeavesStartPending = true;
    QFuture<void> stale = c.service.start();
    c.service.stop();
    c.capture->failStart(CameraError::Kind::inputRefused, kTimedOut);
    EXPECT_EQ(outcome(stale), std::nullopt);
    EXPECT_TRUE(idle(c.service));
    EXPECT_EQ(c.failures.count(), 0);
}
