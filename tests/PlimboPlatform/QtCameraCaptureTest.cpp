#include "QtCameraCapture.h"

#include <gtest/gtest.h>

#include <QMediaDevices>
#include <QTest>

using namespace plimbo;

// Test machines have no camera: everything must fail cleanly and at once, never hang.
TEST(QtCameraCaptureTest, WithoutACameraStartFailsAsNoCamera) {
    if (!QMediaDevices::videoInputs().isEmpty()) {
        GTEST_SKIP() << "this machine has a camera";
    }
    QtCameraCapture capture;
    EXPECT_EQ(capture.authorization(), CameraAuthorization::authorized);
    QFuture<bool> access = capture.requestAccess();
    ASSERT_TRUE(access.isFinished());
    EXPECT_TRUE(access.result());

    for (int attempt = 0; attempt < 2; ++attempt) {
        QFuture<void> started = capture.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return started.isFinished(); }, 1000));
        try {
            started.waitForFinished();
            FAIL() << "started without a camera";
        } catch (const CameraError& error) {
            EXPECT_EQ(error.kind(), CameraError::Kind::noCamera);
        }
        EXPECT_FALSE(capture.isRunning());
    }
    capture.stop();
    capture.setVideoOutput(nullptr);
    EXPECT_FALSE(capture.isRunning());
}
