#include "PrivacySettingsView.h"

#include "DashboardStyle.h"
#include "DesktopWording.h"
#include "SettingsForm.h"

#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

PrivacySettingsView::PrivacySettingsView(QWidget* parent)
    : QWidget(parent)
    , m_form(new SettingsForm(this)) {
    using S = DashboardStyle;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_form);

    m_form->addSection(QStringLiteral("Local-first defaults"));
    for (const Row& row : rows()) {
        m_form->addLabeledRow(row.label,
                              S::label(row.value, S::font(S::Text::body), S::Emphasis::secondary));
    }
    m_form->addSection(QStringLiteral("OpenRouter boundary"));
    m_form->addParagraph(DesktopWording::sendBoundary());
}

QList<PrivacySettingsView::Row> PrivacySettingsView::rows() {
    return {
        {QStringLiteral("Telemetry"), QStringLiteral("Off")},
        {QStringLiteral("AI history"), QStringLiteral("Stored locally")},
        {QStringLiteral("Clipboard upload"), QStringLiteral("Never automatic")},
        {QStringLiteral("Known credential patterns"), QStringLiteral("Redacted before sending")},
    };
}

} // namespace plimbo
