#pragma once

#include "NotchFeatures.h"
#include "SurfaceOpeners.h"

#include <functional>

class QWidget;

namespace plimbo {

class AppModel;
class ClipboardService;
class CommandPalette;
class GlobalShortcuts;
class LauncherService;
class MiniAIView;
struct ApplicationRecord;
struct PaletteItem;

// The one place where the windows and panels get their content views. Every function returns
// a new widget without a parent; the caller owns it. Surfaces whose views are not built yet get
// a placeholder that honours the same callbacks.
class ShellViews {
public:
    ShellViews() = delete;

    // The tray popup's and the menu preview's content, 372 wide. `closeMenu` closes the popup
    // before an action opens another surface; the preview window has none.
    static QWidget* menuBarContent(AppModel& model, std::function<void()> closeMenu = {});
    // `dismiss` closes the panel and hands the focus back (Escape).
    static QWidget* commandPalette(CommandPalette& palette,
                                   std::function<void(const PaletteItem&)> perform,
                                   std::function<void()> dismiss);
    static QWidget*
    launcherQuickAccess(LauncherService& launcher, const GlobalShortcuts& shortcuts,
                        std::function<void()> dismiss,
                        std::function<void(const ApplicationRecord& application)> openApplication);
    static QWidget* clipboardQuickAccess(ClipboardService& clipboard,
                                         const GlobalShortcuts& shortcuts,
                                         std::function<void()> dismiss);
    static MiniAIView* miniAI(AppModel& model, std::function<void()> onBeginConversation,
                              std::function<void()> onOpenAllChats, std::function<void()> onClose);
    static QWidget* dashboard(AppModel& model);
    static QWidget* settings(AppModel& model);
    static QWidget* about();

    // The model's operations that open each surface, for the views that offer them.
    static SurfaceOpeners surfaceOpeners(AppModel& model);
    // What the notch panel shows and reaches of the model.
    static NotchFeatures notchFeatures(AppModel& model);
};

} // namespace plimbo
