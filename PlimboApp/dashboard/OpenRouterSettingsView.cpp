#include "OpenRouterSettingsView.h"

#include "AppStartup.h"
#include "DashboardStyle.h"
#include "DesktopWording.h"
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
    m_form->addNote(DesktopWording::keyStorageNote());

    m_form->addSection(QStringLiteral("Privacy"));
    m_form->addNote(DesktopWording::localCopiesNote());

    connect(&startup, &AppStartup::credentialIsStoredChanged, this,
            &OpenRouterSettingsView::refresh);
    refresh();
}

void OpenRouterSettingsView::refresh() {
    m_status->setText(m_startup.credentialIsStored() ? DesktopWording::keyAvailable()
                                                     : QStringLiteral("Missing"));
}

} // namespace plimbo
