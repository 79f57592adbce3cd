#pragma once

#include <QWidget>

namespace plimbo {

class SettingsForm;

// The settings' Privacy tab: the local-first defaults and what leaves the computer. Fixed
// texts only.
class PrivacySettingsView : public QWidget {
    Q_OBJECT

public:
    explicit PrivacySettingsView(QWidget* parent = nullptr);

    SettingsForm* form() const { return m_form; }

    struct Row {
        QString label;
        QString value;
    };
    static QList<Row> rows();

private:
    SettingsForm* m_form;
};

} // namespace plimbo
