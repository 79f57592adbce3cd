#pragma once

#include <memory>

namespace plimbo {

class AppModel;
class AppWindowController;
class MiniAIController;
class NotchController;
class QuickPanelController;
class GlobalSurfaceFocusCoordinator;

// Builds the windows and panels that the model creates once, at start-up, and keeps until it
// goes away. The model outlives every controller it is handed; a controller must not call the
// model from its destructor. A factory may return null for a surface it cannot build; the model
// then skips every use of it.
class AppSurfaceFactory {
public:
    virtual ~AppSurfaceFactory() = default;

    virtual std::unique_ptr<QuickPanelController>
    makeCommandPalette(AppModel& model, GlobalSurfaceFocusCoordinator& focus) = 0;
    virtual std::unique_ptr<QuickPanelController>
    makeLauncher(AppModel& model, GlobalSurfaceFocusCoordinator& focus) = 0;
    virtual std::unique_ptr<QuickPanelController>
    makeClipboard(AppModel& model, GlobalSurfaceFocusCoordinator& focus) = 0;
    virtual std::unique_ptr<AppWindowController> makeDashboard(AppModel& model) = 0;
    virtual std::unique_ptr<AppWindowController> makeSettings(AppModel& model) = 0;
    virtual std::unique_ptr<AppWindowController> makeAbout() = 0;
    virtual std::unique_ptr<AppWindowController> makeMenuPreview(AppModel& model) = 0;
    virtual std::unique_ptr<MiniAIController> makeMiniAI(AppModel& model) = 0;
    virtual std::unique_ptr<NotchController> makeNotch(AppModel& model) = 0;
};

} // namespace plimbo
