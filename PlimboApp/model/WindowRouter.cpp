#include "WindowRouter.h"

#include "AppSurfaceFactory.h"
#include "AppWindowController.h"
#include "GlobalSurfaceFocusCoordinator.h"
#include "MiniAIController.h"
#include "NotchController.h"
#include "PropertyAssign.h"
#include "QuickPanelController.h"

namespace plimbo {

WindowRouter::WindowRouter(AppSurfaceFactory* surfaces, GlobalSurfaceFocusCoordinator& focus,
                           QObject* parent)
    : QObject(parent)
    , m_surfaces(surfaces)
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

void WindowRouter::createControllers(AppModel& model) {
    if (!m_surfaces) {
        return;
    }
    m_palette = m_surfaces->makeCommandPalette(model, m_focus);
    m_launcher = m_surfaces->makeLauncher(model, m_focus);
    m_clipboard = m_surfaces->makeClipboard(model, m_focus);
    m_dashboard = m_surfaces->makeDashboard(model);
    m_settings = m_surfaces->makeSettings(model);
    m_about = m_surfaces->makeAbout();
    m_miniAI = m_surfaces->makeMiniAI(model);
    m_notch = m_surfaces->makeNotch(model);
}

void WindowRouter::createMiniAI(AppModel& model) {
    if (m_surfaces) {
        m_miniAI = m_surfaces->makeMiniAI(model);
    }
}

void WindowRouter::createMenuPreview(AppModel& model) {
    if (m_surfaces) {
        m_menuPreview = m_surfaces->makeMenuPreview(model);
    }
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
        panel->orderOut();
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
