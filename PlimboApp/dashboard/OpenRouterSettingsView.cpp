#include "OpenRouterSettingsView.h"

#include "AppStartup.h"
#include "DashboardStyle.h"
#include "SettingsForm.h"

#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

OpenRouterSettingsView::OpenRouterSettingsView(AppStartup& startup, QWidget* parent)
    : QWidget(parent)
    , m_startup(startup)
    , m_form(new SettingsForm(this)) {
    using S = DashboardStyle;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_form);

    m_form->addSection(QStringLiteral("OpenRouter credential"));
    m_status = S::label(QString(), S::font(S::Text::body), S::Emphasis::secondary);
    m_form->addLabeledRow(QStringLiteral("Status"), m_status);
    m_form->addNote(QStringLiteral(
        "For local builds, put OPENROUTER_API_KEY in the project’s .env.local file. Packaging "
        "imports it into the desktop keyring (Secret Service) without embedding it in the app."));

    m_form->addSection(QStringLiteral("Privacy"));
    m_form->addNote(QStringLiteral(
        "Requests are sent only after you press Send. Chat history and attached images, PDFs, "
        "and supported text or code files are copied into Plimbo’s data folder and remain local "
        "until they are included in a request."));

    connect(&startup, &AppStartup::credentialIsStoredChanged, this,
            &OpenRouterSettingsView::refresh);
    refresh();
}

void OpenRouterSettingsView::refresh() {
    m_status->setText(m_startup.credentialIsStored() ? QStringLiteral("Available in the keyring")
                                                     : QStringLiteral("Missing"));
}

} // namespace plimbo
