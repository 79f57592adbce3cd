#include "WindowRouter.h"

#include "AppWindowController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "MiniAIController.h"
#include "NotchController.h"
#include "PropertyAssign.h"
#include "QuickPanelController.h"

namespace plimbo {

namespace {

template <class Controller>
std::unique_ptr<Controller> make(const WindowRouter::Maker<Controller>& maker) {
    return maker ? maker() : nullptr;
}

} // namespace

WindowRouter::WindowRouter(Makers makers, GlobalSurfaceFocusCoordinator& focus, QObject* parent)
    : QObject(parent)
    , m_makers(std::move(makers))
    , m_focus(focus) {}

WindowRouter::~WindowRouter() {
    destroyControllers();
}

void WindowRouter::destroyControllers() {
    m_notch.reset();
    m_menuPreview.reset();
    m_miniAI.reset();
    m_about.reset();
    m_settings.reset();
    m_dashboard.reset();
    m_clipboard.reset();
    m_launcher.reset();
    m_palette.reset();
}

void WindowRouter::createControllers() {
    m_palette = make(m_makers.palette);
    m_launcher = make(m_makers.launcher);
    m_clipboard = make(m_makers.clipboard);
    m_dashboard = make(m_makers.dashboard);
    m_settings = make(m_makers.settings);
    m_about = make(m_makers.about);
    m_miniAI = make(m_makers.miniAI);
    m_notch = make(m_makers.notch);
}

void WindowRouter::createMiniAI() {
    m_miniAI = make(m_makers.miniAI);
}

void WindowRouter::createMenuPreview() {
    m_menuPreview = make(m_makers.menuPreview);
}

void WindowRouter::setSelectedSection(AppSection section) {
    assign(this, m_selectedSection, section, &WindowRouter::selectedSectionChanged);
}

void WindowRouter::setSelectedSettingsSection(SettingsSection section) {
    assign(this, m_selectedSettingsSection, section, &WindowRouter::selectedSettingsSectionChanged);
}

void WindowRouter::showDashboard(AppSection section) {
    setSelectedSection(section);
    if (m_dashboard) {
        m_dashboard->bringToFront();
    }
}

void WindowRouter::openSettings(SettingsSection section) {
    setSelectedSettingsSection(section);
    if (m_settings) {
        m_settings->bringToFront();
    }
}

void WindowRouter::showAbout() {
    if (m_about) {
        m_about->bringToFront();
    }
}

void WindowRouter::showMenuPreview() {
    if (m_menuPreview) {
        m_menuPreview->bringToFront();
    }
}

void WindowRouter::hideQuickPanel(QuickPanelController* panel) {
    if (panel) {
        panel->stopOutsideClickMonitoring();
        panel->hide();
    }
}

void WindowRouter::showQuickPanel(QuickPanelController* panel) {
    m_focus.captureIfNeeded();
    for (QuickPanelController* other : {m_palette.get(), m_launcher.get(), m_clipboard.get()}) {
        if (other != panel) {
            hideQuickPanel(other);
        }
    }
    if (panel) {
        panel->show();
    }
}

void WindowRouter::showMiniAI() {
    if (m_miniAI) {
        m_miniAI->show();
    }
}

} // namespace plimbo
