#pragma once

#include "SettingsSection.h"

#include <QWidget>

class QTabWidget;

namespace plimbo {

class AppModel;
class PresentedErrorAlert;

// The settings window's content: four tabs (General, Modules, Plimbo AI, Privacy) over the
// model's selected settings section, and the alert for the model's error message.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    explicit SettingsView(AppModel& model, QWidget* parent = nullptr);

    QTabWidget* tabs() const { return m_tabs; }
    QWidget* tab(SettingsSection section) const;
    PresentedErrorAlert* errorAlert() const { return m_alert; }

    static QString title(SettingsSection section);
    static QString symbol(SettingsSection section);

private:
    void showSelectedSection();

    AppModel& m_model;
    QTabWidget* m_tabs;
    PresentedErrorAlert* m_alert;
};

} // namespace plimbo
