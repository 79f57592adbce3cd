#pragma once

#include "AppModelHarness.h"
#include "FakeCameraCapture.h"
#include "FakeScreenLayout.h"
#include "FakeWindowActivation.h"
#include "MiniCameraService.h"
#include "NotchSurfaceState.h"
#include "NotchWindowController.h"
#include "PlimboNotchPanel.h"
#include "ReduceMotion.h"
#include "ShellViews.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace plimbo::test {

// An application model whose camera is the real preview service on a fake camera, and a notch
// controller on one fake 1280 x 800 display without a camera housing.
struct NotchHarness {
    AppModelHarness h;
    std::shared_ptr<FakeCameraCapture> capture = std::make_shared<FakeCameraCapture>();
    std::shared_ptr<MiniCameraService> camera = std::make_shared<MiniCameraService>(capture);
    std::shared_ptr<FakeScreenLayout> screens = std::make_shared<FakeScreenLayout>();
    std::shared_ptr<FakeWindowActivation> windows = std::make_shared<FakeWindowActivation>();
    std::unique_ptr<AppModel> model;
    std::unique_ptr<NotchWindowController> controller;
    QTemporaryDir files;

    static DisplayScreen display(const QRect& frame,
                                 const QString& name = QStringLiteral("Built-in Display")) {
        DisplayScreen screen;
        screen.frame = frame;
        screen.localizedName = name;
        return screen;
    }

    NotchHarness() {
        screens->displays = {display(QRect(0, 0, 1280, 800))};
        screens->cursor = QPoint(640, 400);
        AppModelDependencies dependencies = h.dependencies();
        dependencies.miniCamera = camera;
        model = std::make_unique<AppModel>(std::move(dependencies));
        settle([&] { return model->isAIHistoryLoaded(); });
        controller = std::make_unique<NotchWindowController>(ShellViews::notchFeatures(*model),
                                                             screens, windows);
    }

    ~NotchHarness() {
        controller.reset();
        model.reset();
    }

    NotchSurfaceState& state() const { return controller->state(); }
    PlimboNotchPanel& panel() const { return controller->panel(); }

    // A real file in a temporary folder, as a file URL.
    QUrl file(const QString& name) const {
        const QString path = files.filePath(name);
        QFile out(path);
        if (out.open(QIODevice::WriteOnly)) {
            out.write("x");
        }
        return QUrl::fromLocalFile(path);
    }

    // Waits for the running transition to end.
    bool settled() const {
        return QTest::qWaitFor([this] { return !state().isTransitioning(); }, 2000);
    }
};

// Turns reduce motion on for one scope.
struct ReducedMotion {
    ReducedMotion() { ReduceMotion::instance().setEnabled(true); }
    ~ReducedMotion() { ReduceMotion::instance().setEnabled(false); }
};

} // namespace plimbo::test
