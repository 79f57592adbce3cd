#include "PrivacySettingsView.h"

#include "DashboardStyle.h"
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
    m_form->addParagraph(QStringLiteral(
        "Text and attachments leave this computer only when you press Send. Plimbo redacts "
        "recognized secrets from prompts and supported text files before sending. Images and PDFs "
        "are encoded into the OpenRouter request; PDFs use OpenRouter’s file parser. Your original "
        "prompt and local attachment copy remain in chat history."));
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
