#pragma once

#include "SettingsSection.h"

#include <QWidget>

#include <functional>

class QTabWidget;

namespace plimbo {

class GlobalSurfaceFocusCoordinator;
class PresentedError;
class PresentedErrorAlert;
class WindowRouter;

// The settings window's content: four tabs (General, Modules, Plimbo AI, Privacy), each built
// once by `makeTab`, over the window router's selected settings section, and the alert for the
// model's error message.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    using TabFactory = std::function<QWidget*(SettingsSection section)>;

    SettingsView(WindowRouter& windows, PresentedError& error, GlobalSurfaceFocusCoordinator& focus,
                 const TabFactory& makeTab, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    QWidget* tab(SettingsSection section) const;
    PresentedErrorAlert* errorAlert() const { return m_alert; }

    static QString title(SettingsSection section);
    static QString symbol(SettingsSection section);

private:
    void showSelectedSection();

    WindowRouter& m_windows;
    QTabWidget* m_tabs;
    PresentedErrorAlert* m_alert;
};

} // namespace plimbo
