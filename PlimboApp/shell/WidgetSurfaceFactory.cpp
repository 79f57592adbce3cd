#include "WidgetSurfaceFactory.h"

#include "AboutWindowController.h"
#include "AppModel.h"
#include "ClipboardWindowController.h"
#include "CommandPaletteWindowController.h"
#include "DashboardWindowController.h"
#include "LauncherWindowController.h"
#include "MenuPreviewWindowController.h"
#include "MiniAIWindowController.h"
#include "NotchWindowController.h"
#include "SettingsWindowController.h"
#include "ShellViews.h"
#include "WindowFrameAutosave.h"

#include <QVBoxLayout>

namespace plimbo {

namespace {

std::unique_ptr<QWidget> makeWindow(const QString& title, Qt::WindowFlags flags = Qt::Window) {
    auto window = std::make_unique<QWidget>(nullptr, flags);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return window;
}

} // namespace

WidgetSurfaceFactory::WidgetSurfaceFactory(std::shared_ptr<SettingsStore> settings)
    : m_settings(std::move(settings))
    , m_notch(std::make_shared<QPointer<NotchWindowController>>()) {}

void WidgetSurfaceFactory::keepClearOfNotch(WindowController& controller) const {
    controller.setKeepClear([notch = m_notch]() -> std::optional<QRect> {
        return *notch ? (*notch)->compactStrip() : std::nullopt;
    });
}

std::unique_ptr<QuickPanelController>
WidgetSurfaceFactory::makeCommandPalette(AppModel& model, GlobalSurfaceFocusCoordinator& focus) {
    return std::make_unique<CommandPaletteWindowController>(
        model.palette(), [&model](const PaletteItem& item) { model.perform(item); }, focus);
}

std::unique_ptr<QuickPanelController>
WidgetSurfaceFactory::makeLauncher(AppModel& model, GlobalSurfaceFocusCoordinator& focus) {
    return std::make_unique<LauncherWindowController>(model.launcher(), model.shortcuts(), focus);
}

std::unique_ptr<QuickPanelController>
WidgetSurfaceFactory::makeClipboard(AppModel& model, GlobalSurfaceFocusCoordinator& focus) {
    return std::make_unique<ClipboardWindowController>(model.clipboard(), model.shortcuts(), focus);
}

std::unique_ptr<AppWindowController> WidgetSurfaceFactory::makeDashboard(AppModel& model) {
    std::unique_ptr<QWidget> window = makeWindow(QStringLiteral("Plimbo"));
    window->resize(dashboardSize);
    window->setMinimumSize(dashboardMinimumSize);
    window->layout()->addWidget(ShellViews::dashboard(model));
    (new WindowFrameAutosave(*window, m_settings, dashboardFrameName))->restore();
    auto controller = std::make_unique<DashboardWindowController>(std::move(window));
    keepClearOfNotch(*controller);
    return controller;
}

std::unique_ptr<AppWindowController> WidgetSurfaceFactory::makeSettings(AppModel& model) {
    std::unique_ptr<QWidget> window = makeWindow(QStringLiteral("Plimbo Settings"));
    window->resize(settingsSize);
    window->setMinimumSize(settingsMinimumSize);
    QWidget* view = ShellViews::settings(model);
    view->setMinimumSize(settingsMinimumSize);
    window->layout()->addWidget(view);
    (new WindowFrameAutosave(*window, m_settings, settingsFrameName))->restore();
    auto controller = std::make_unique<SettingsWindowController>(std::move(window));
    keepClearOfNotch(*controller);
    return controller;
}

std::unique_ptr<AppWindowController> WidgetSurfaceFactory::makeAbout() {
    auto controller = std::make_unique<AboutWindowController>();
    keepClearOfNotch(*controller);
    return controller;
}

std::unique_ptr<AppWindowController> WidgetSurfaceFactory::makeMenuPreview(AppModel& model) {
    // Titled and closable, not resizable.
    std::unique_ptr<QWidget> window = makeWindow(
        QStringLiteral("Plimbo Menu Preview"),
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window->setFixedSize(menuPreviewSize);
    window->layout()->addWidget(ShellViews::menuBarContent(model));
    return std::make_unique<MenuPreviewWindowController>(std::move(window));
}

std::unique_ptr<MiniAIController> WidgetSurfaceFactory::makeMiniAI(AppModel& model) {
    const ChatFeatures chat = model.chatFeatures();
    return std::make_unique<MiniAIWindowController>(
        chat.chats, chat.composer, [&model] { model.showDashboard(AppSection::ai); },
        [&model](std::function<void()> onBeginConversation, std::function<void()> onOpenAllChats,
                 std::function<void()> onClose) {
            return ShellViews::miniAI(model, std::move(onBeginConversation),
                                      std::move(onOpenAllChats), std::move(onClose));
        });
}

std::unique_ptr<NotchController> WidgetSurfaceFactory::makeNotch(AppModel& model) {
    auto notch = std::make_unique<NotchWindowController>(ShellViews::notchFeatures(model));
    *m_notch = notch.get();
    return notch;
}

} // namespace plimbo
