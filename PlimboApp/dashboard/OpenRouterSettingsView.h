#pragma once

#include <QWidget>

class QLabel;

namespace plimbo {

class AppStartup;
class SettingsForm;

// The settings' assistant tab: whether the OpenRouter API key was found in the keychain at
// start, how a key gets there, and when requests are sent. Read-only.
class OpenRouterSettingsView : public QWidget {
    Q_OBJECT

public:
    explicit OpenRouterSettingsView(AppStartup& startup, QWidget* parent = nullptr);

    SettingsForm* form() const { return m_form; }
    QLabel* statusValue() const { return m_status; }

private:
    void refresh();

    AppStartup& m_startup;
    SettingsForm* m_form;
    QLabel* m_status;
};

} // namespace plimbo
