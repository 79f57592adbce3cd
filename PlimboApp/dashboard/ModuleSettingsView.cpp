#include "ModuleSettingsView.h"

#include "DashboardStyle.h"
#include "ModuleRegistry.h"
#include "ModuleRowMatch.h"
#include "SettingsForm.h"
#include "SettingsSwitch.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace plimbo {

ModuleSettingsView::ModuleSettingsView(ModuleRegistry& registry, QWidget* parent)
    : QWidget(parent)
    , m_registry(registry)
    , m_form(new SettingsForm(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_form);
    m_form->addSection(QStringLiteral("Enabled modules"));
    connect(&registry, &ModuleRegistry::recordsChanged, this, &ModuleSettingsView::refresh);
    refresh();
}

QList<SettingsSwitch*> ModuleSettingsView::switches() const {
    QList<SettingsSwitch*> toggles;
    for (const Row& row : m_rows) {
        toggles.append(row.toggle);
    }
    return toggles;
}

QStringList ModuleSettingsView::listedIds() const {
    QStringList ids;
    for (const Row& row : m_rows) {
        ids.append(row.id);
    }
    return ids;
}

SettingsSwitch* ModuleSettingsView::switchFor(const QString& id) const {
    for (const Row& row : m_rows) {
        if (row.id == id) {
            return row.toggle;
        }
    }
    return nullptr;
}

void ModuleSettingsView::refresh() {
    using S = DashboardStyle;
    const QList<ModuleRecord> records = m_registry.records();
    if (!rowsMatchModules(m_rows, records, [](const Row& row) { return row.id; })) {
        m_form->clearSection();
        m_rows.clear();
        for (const ModuleRecord& record : records) {
            Row row{record.id()};
            auto* label = new QWidget;
            auto* texts = new QVBoxLayout(label);
            texts->setContentsMargins(0, 0, 0, 0);
            row.name = S::label(QString(), S::font(S::Text::body), S::Emphasis::primary, label);
            row.summary =
                S::label(QString(), S::font(S::Text::caption), S::Emphasis::secondary, label);
            row.summary->setWordWrap(true);
            texts->addWidget(row.name);
            texts->addWidget(row.summary);
            row.toggle = m_form->addSwitchRow(label, record.manifest.name);
            QPointer<ModuleRegistry> registry(&m_registry);
            const QString id = record.id();
            connect(row.toggle, &SettingsSwitch::switchRequested, this, [registry, id](bool on) {
                if (registry) {
                    registry->setEnabled(on, id);
                }
            });
            m_rows.append(row);
            if (id == QLatin1String("clipboard")) {
                m_form->addNote(QStringLiteral("On X11 every text copy is captured. In a Wayland "
                                               "session Plimbo reads the clipboard "
                                               "through the desktop's clipboard-manager protocol, "
                                               "which KDE Plasma and wlroots desktops "
                                               "such as Sway offer, so copies made in any program "
                                               "are captured. GNOME offers no such "
                                               "protocol: there only the copies GNOME passes on to "
                                               "X11 programs are captured, and a "
                                               "copy it does not pass on is missed."));
            }
        }
    }
    for (qsizetype i = 0; i < records.size(); ++i) {
        m_rows[i].name->setText(records[i].manifest.name);
        m_rows[i].summary->setText(records[i].manifest.summary);
        m_rows[i].toggle->setOn(records[i].isEnabled);
        m_rows[i].toggle->setAccessibleName(records[i].manifest.name);
    }
}

} // namespace plimbo
