#include "SettingsView.h"

#include "DashboardStyle.h"
#include "DashboardSymbols.h"
#include "PlimboTheme.h"
#include "PresentedErrorAlert.h"
#include "WindowRouter.h"
#include "symbols/SymbolIcon.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace plimbo {

SettingsView::SettingsView(WindowRouter& windows, PresentedError& error,
                           GlobalSurfaceFocusCoordinator& focus, const TabFactory& makeTab,
                           QWidget* parent)
    : QWidget(parent)
    , m_windows(windows)
    , m_tabs(new QTabWidget(this)) {
    DashboardSymbols::load();
    DashboardStyle::applyTint(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(m_tabs);
    m_tabs->setDocumentMode(false);
    m_tabs->setIconSize(QSize(16, 16));

    for (SettingsSection section : allSettingsSections()) {
        QWidget* view = makeTab(section);
        view->setProperty("plimboSettingsSection", QVariant::fromValue(section));
        m_tabs->addTab(view, SymbolIcon::icon(symbol(section), PlimboTheme::accent()),
                       title(section));
    }

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < allSettingsSections().size()) {
            m_windows.setSelectedSettingsSection(allSettingsSections().at(index));
        }
    });
    connect(&windows, &WindowRouter::selectedSettingsSectionChanged, this,
            &SettingsView::showSelectedSection);
    m_alert = new PresentedErrorAlert(error, focus, *this);
    showSelectedSection();
}

QWidget* SettingsView::tab(SettingsSection section) const {
    return m_tabs->widget(static_cast<int>(allSettingsSections().indexOf(section)));
}

QString SettingsView::title(SettingsSection section) {
    switch (section) {
    case SettingsSection::general:
        return QStringLiteral("General");
    case SettingsSection::modules:
        return QStringLiteral("Modules");
    case SettingsSection::openRouter:
        return QStringLiteral("Plimbo AI");
    case SettingsSection::privacy:
        return QStringLiteral("Privacy");
    }
    return {};
}

QString SettingsView::symbol(SettingsSection section) {
    switch (section) {
    case SettingsSection::general:
        return QStringLiteral("gearshape");
    case SettingsSection::modules:
        return QStringLiteral("square.grid.2x2");
    case SettingsSection::openRouter:
        return QStringLiteral("sparkles");
    case SettingsSection::privacy:
        return QStringLiteral("hand.raised");
    }
    return {};
}

void SettingsView::showSelectedSection() {
    const int index =
        static_cast<int>(allSettingsSections().indexOf(m_windows.selectedSettingsSection()));
    if (m_tabs->currentIndex() != index) {
        const QSignalBlocker blocker(m_tabs);
        m_tabs->setCurrentIndex(index);
    }
}

} // namespace plimbo
