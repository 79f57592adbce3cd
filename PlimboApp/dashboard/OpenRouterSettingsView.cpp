#include "OpenRouterSettingsView.h"

#include "AppModel.h"
#include "DashboardStyle.h"
#include "DesktopWording.h"
#include "SettingsForm.h"

#include <QLabel>
#include <QVBoxLayout>

namespace plimbo {

OpenRouterSettingsView::OpenRouterSettingsView(AppModel& model, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
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

    connect(&model, &AppModel::credentialIsStoredChanged, this, &OpenRouterSettingsView::refresh);
    refresh();
}

void OpenRouterSettingsView::refresh() {
    m_status->setText(m_model.credentialIsStored() ? DesktopWording::keyAvailable()
                                                   : QStringLiteral("Missing"));
}

} // namespace plimbo
