// Renders the notch surface offscreen to PNG files: the compact notch (plain and hovered), the
// expanded shelf with its action grid and with files on the shelf, the camera stage while the
// camera starts, and what the shelf shows when there is no camera (its alert over the shelf).
// Usage: screenshot_NotchScreenshots [output folder]   (default: ./screenshots)

#include "AppModelHarness.h"
#include "FakeCameraCapture.h"
#include "FakeHostStatistics.h"
#include "FakeScreenLayout.h"
#include "MiniCameraService.h"
#include "NotchSurfaceView.h"
#include "NotchWindowController.h"
#include "PlimboNotchPanel.h"
#include "ScreenshotOutput.h"
#include "ShellViews.h"
#include "SystemMonitorService.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

using namespace plimbo;
using namespace plimbo::test;

namespace {

// A model on in-memory services with a running system monitor and a fake camera, and the
// notch on one 1440 x 900 display without a camera housing.
struct Scene {
    AppModelHarness harness;
    std::shared_ptr<FakeHostStatistics> host = std::make_shared<FakeHostStatistics>();
    std::shared_ptr<FakeCameraCapture> capture = std::make_shared<FakeCameraCapture>();
    std::shared_ptr<FakeScreenLayout> screens = std::make_shared<FakeScreenLayout>();
    std::unique_ptr<AppModel> model;
    std::unique_ptr<NotchWindowController> notch;
    QTemporaryDir files;

    Scene() {
        AppModelDependencies dependencies = harness.dependencies();
        dependencies.systemMonitor = std::make_shared<SystemMonitorService>(host);
        dependencies.miniCamera = std::make_shared<MiniCameraService>(capture);
        model = std::make_unique<AppModel>(std::move(dependencies));

        DisplayScreen display;
        display.frame = QRect(0, 0, 1440, 900);
        display.localizedName = QStringLiteral("DELL U2720Q");
        screens->displays = {display};
        screens->cursor = QPoint(720, 450);
        notch = std::make_unique<NotchWindowController>(ShellViews::notchFeatures(*model), screens);

        host->memory = MemoryUsage{10'200'000'000ull, 16'000'000'000ull};
        host->uptimeSeconds = 3 * 86400 + 4 * 3600 + 12 * 60;
        host->ticks = CpuTicks{10'000, 20'000};
        SystemMonitorService& monitor = model->systemMonitor();
        monitor.setSampleInterval(std::chrono::milliseconds(20));
        monitor.start();
        const int reads = host->cpuReads;
        host->ticks = CpuTicks{10'031, 20'100};
        if (!QTest::qWaitFor([&] { return host->cpuReads > reads + 1; }, 2000)) {
            std::fprintf(stderr, "the monitor took no second sample\n");
        }
        // Live, but steady for the pictures.
        monitor.setSampleInterval(std::chrono::minutes(10));
    }

    QUrl file(const QString& name) const {
        QFile out(files.filePath(name));
        if (out.open(QIODevice::WriteOnly)) {
            out.write("plimbo");
        }
        return QUrl::fromLocalFile(files.filePath(name));
    }
};

// The window as drawn, transparent where the notch is not. Taken in settled shapes, when no
// effect is running.
QImage windowImage(QWidget& window) {
    return window.grab().toImage();
}

// The panel hanging from the top of a wallpaper, and the alert (if any) below it.
bool save(QWidget& panel, const QString& path, QWidget* alert = nullptr) {
    QTest::qWait(60);
    const QImage notch = windowImage(panel);
    const QImage dialog = alert ? windowImage(*alert) : QImage();
    const int alertHeight = alert ? dialog.height() + 24 : 0;
    const QSize size(std::max(notch.width() + 240, 760),
                     std::max(notch.height() + alertHeight + 90, 180));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&image);
        QLinearGradient wallpaper(0, 0, size.width(), size.height());
        wallpaper.setColorAt(0, QColor(58, 84, 138));
        wallpaper.setColorAt(1, QColor(126, 92, 160));
        painter.fillRect(QRect(QPoint(0, 0), size), wallpaper);
        painter.drawImage(QPoint((size.width() - notch.width()) / 2, 0), notch);
        if (alert) {
            painter.drawImage(QPoint((size.width() - dialog.width()) / 2, notch.height() + 24),
                              dialog);
        }
    }
    return screenshots::writeImage(image, path);
}

} // namespace

int main(int argc, char** argv) {
    screenshots::preferOffscreen();
    QApplication app(argc, argv);
    const QDir folder = screenshots::outputFolder(argc, argv);
    const auto file = [&](const QString& name) {
        return folder.filePath(name + QStringLiteral(".png"));
    };

    Scene scene;
    AppModel& model = *scene.model;
    NotchWindowController& notch = *scene.notch;
    QWidget& panel = notch.panel();
    bool ok = true;

    notch.show(false);
    ok &= save(panel, file(QStringLiteral("notch-compact")));
    notch.setCompactHovered(true);
    QTest::qWait(300);
    ok &= save(panel, file(QStringLiteral("notch-compact-hovered")));
    notch.setCompactHovered(false);
    QTest::qWait(400);

    notch.show(true);
    ok &= save(panel, file(QStringLiteral("notch-expanded")));

    model.receiveDroppedFiles({scene.file(QStringLiteral("Quarterly Report.pdf")),
                               scene.file(QStringLiteral("archive.tar.gz")),
                               scene.file(QStringLiteral("notes.md")),
                               scene.file(QStringLiteral("README"))});
    QTest::qWait(400);
    ok &= save(panel, file(QStringLiteral("notch-expanded-files")));
    model.setPendingDropURLs({});
    QTest::qWait(400);

    scene.capture->holdStarts = true;
    model.toggleMiniCamera();
    QTest::qWait(600);
    ok &= save(panel, file(QStringLiteral("notch-camera-starting")));
    model.toggleMiniCamera();
    QTest::qWait(600);

    // The camera is gone: the start fails and the shelf says so in its alert.
    model.toggleMiniCamera();
    QTest::qWait(50);
    scene.capture->failStart(CameraError::Kind::noCamera, QStringLiteral("No video input."));
    NotchSurfaceView& view = notch.view();
    if (!QTest::qWaitFor([&] { return view.alert() != nullptr; }, 2000)) {
        std::fprintf(stderr, "no alert for the missing camera\n");
        return 1;
    }
    QTest::qWait(200);
    ok &= save(panel, file(QStringLiteral("notch-camera-unavailable")), view.alert());
    return ok ? 0 : 1;
}
