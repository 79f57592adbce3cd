#pragma once

#include "AppModelHarness.h"
#include "ApplicationRecord.h"
#include "ClipboardWindowController.h"
#include "CommandPaletteWindowController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "LauncherWindowController.h"
#include "MiniAIWindowController.h"
#include "PanelPlacement.h"
#include "WidgetSurfaceFactory.h"
#include "WindowController.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace plimbo::test {

// An application model on in-memory services whose windows and panels are the real widgets.
struct ShellHarness {
    AppModelHarness h;
    std::unique_ptr<AppModel> model;

    // Builds the model with the switches and runs its start-up; `adjust` may swap services first.
    AppModel& start(const QStringList& switches = {},
                    const std::function<void(AppModelDependencies&)>& adjust = {}) {
        build(switches, adjust);
        settle([&] { return model->isAIHistoryLoaded(); });
        QFuture<void> started = model->start();
        EXPECT_TRUE(settle([&] { return started.isFinished(); }));
        return *model;
    }

    // Builds the model and returns at once, while its history is still loading.
    AppModel& build(const QStringList& switches = {},
                    const std::function<void(AppModelDependencies&)>& adjust = {}) {
        h.arguments += switches;
        AppModelDependencies dependencies = h.dependencies();
        dependencies.surfaces = std::make_shared<WidgetSurfaceFactory>(h.settings);
        if (adjust) {
            adjust(dependencies);
        }
        model = std::make_unique<AppModel>(std::move(dependencies));
        return *model;
    }

    CommandPaletteWindowController* palette() const {
        return dynamic_cast<CommandPaletteWindowController*>(model->paletteController());
    }
    LauncherWindowController* launcher() const {
        return dynamic_cast<LauncherWindowController*>(model->launcherController());
    }
    ClipboardWindowController* clipboard() const {
        return dynamic_cast<ClipboardWindowController*>(model->clipboardController());
    }
    MiniAIWindowController* mini() const {
        return dynamic_cast<MiniAIWindowController*>(model->miniAIController());
    }
    static QWidget* windowOf(AppWindowController* controller) {
        auto* plain = dynamic_cast<WindowController*>(controller);
        return plain ? plain->window() : nullptr;
    }
    QWidget* dashboard() const { return windowOf(model->dashboardController()); }
    QWidget* settings() const { return windowOf(model->settingsController()); }
    QWidget* about() const { return windowOf(model->aboutController()); }
    QWidget* menuPreview() const { return windowOf(model->menuPreviewController()); }
};

} // namespace plimbo::test
