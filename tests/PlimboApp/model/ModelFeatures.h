#pragma once

#include "AppModelHarness.h"
#include "AppStartup.h"
#include "ChatComposer.h"
#include "ChatList.h"
#include "ChatReply.h"
#include "ChatSession.h"
#include "ClipboardService.h"
#include "CommandPalette.h"
#include "DesktopActions.h"
#include "GlobalShortcuts.h"
#include "KeepAwakeService.h"
#include "LauncherService.h"
#include "ModuleRegistry.h"
#include "NotchSurface.h"
#include "PreviewRun.h"
#include "StoredAttachments.h"
#include "SystemMonitorService.h"
#include "WindowRouter.h"

namespace plimbo::test {

// Every feature, wired from the harness's fakes in the model's order but without the model, for
// the tests of the two features that drive all the others: the preview switches and the
// start-up. Nothing is loaded or started; no reply is ever sent.
struct ModelFeatures {
    explicit ModelFeatures(AppModelHarness& harness)
        : ModelFeatures(harness, harness.dependencies()) {}

    ModelFeatures(AppModelHarness& harness, AppModelDependencies dependencies)
        : h(harness)
        , deps(std::move(dependencies)) {
        registry.registerModule(deps.launcher, true);
        registry.registerModule(deps.clipboard, true);
        registry.registerModule(deps.keepAwake, true);
        registry.registerModule(deps.systemMonitor, true);
    }

    AppModelHarness& h;
    AppModelDependencies deps;
    ModuleRegistry registry{*deps.settings};
    StoredAttachments attachments{deps.historyStore, *deps.executor};
    ChatList chats{deps.historyStore, *deps.clock, attachments};
    WindowRouter windows{h.surfaces->makers(), *deps.focusCoordinator};
    ChatComposer composer{deps.historyStore, *deps.executor, attachments, chats,
                          deps.fileChooser.get()};
    ChatSession session{chats,
                        composer,
                        attachments,
                        *deps.clock,
                        [](const QUuid&) { return std::unique_ptr<ChatReply>(); },
                        deps.aiClient,
                        deps.pasteboard.get()};
    CommandPalette palette{*deps.launcher, *deps.clipboard, *deps.keepAwake};
    GlobalShortcuts shortcuts{deps.makeHotKeyController, [](PlimboGlobalShortcut) {
                              }};
    NotchSurface notch{*deps.settings, windows};
    DesktopActions desktop{*deps.systemActions, deps.fileChooser.get(), deps.miniCamera.get()};
    PreviewRun preview{
        deps.arguments, deps.applicationPath, deps.resourceDirectory, *deps.clock,
        PreviewRun::Surfaces{chats, composer, session, attachments, windows, notch, desktop}};
    AppStartup startup{registry, deps.keychain, *deps.executor, deps.healthInterval,
                       AppStartup::Features{windows, shortcuts, palette, preview}};
};

} // namespace plimbo::test
